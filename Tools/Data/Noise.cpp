#include "Noise.h"

#include <cmath>

namespace {

uint32_t Hash(uint32_t x) {
    x ^= x >> 16;
    x *= 0x7FEB352Du;
    x ^= x >> 15;
    x *= 0x846CA68Bu;
    x ^= x >> 16;
    return x;
}

int Wrap(int value, int period) {
    int r = value % period;
    return r < 0 ? r + period : r;
}

float Fade(float t) { return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f); }

}  // namespace

float Lattice_Value(int x, int y, uint32_t seed) {
    uint32_t h = Hash(uint32_t(x) * 0x9E3779B1u ^ Hash(uint32_t(y) + seed * 0x85EBCA77u));
    return float(h >> 8) / float(1 << 24);
}

float Value_Noise(float u, float v, int period_u, int period_v, uint32_t seed) {
    float x = u * float(period_u);
    float y = v * float(period_v);
    float fx = std::floor(x);
    float fy = std::floor(y);
    int x0 = Wrap(int(fx), period_u), y0 = Wrap(int(fy), period_v);
    int x1 = Wrap(x0 + 1, period_u), y1 = Wrap(y0 + 1, period_v);
    float tx = Fade(x - fx), ty = Fade(y - fy);
    float top = Lattice_Value(x0, y0, seed) + (Lattice_Value(x1, y0, seed) - Lattice_Value(x0, y0, seed)) * tx;
    float bottom = Lattice_Value(x0, y1, seed) + (Lattice_Value(x1, y1, seed) - Lattice_Value(x0, y1, seed)) * tx;
    return top + (bottom - top) * ty;
}

float Fractal_Noise(float u, float v, int period, int octaves, uint32_t seed) {
    float sum = 0, weight = 1, total = 0;
    for (int octave = 0; octave < octaves; ++octave) {
        sum += Value_Noise(u, v, period << octave, period << octave, seed + uint32_t(octave) * 1013u) * weight;
        total += weight;
        weight *= 0.5f;
    }
    return sum / total;
}

Cell_Distances Cell_Noise(float u, float v, int cells, uint32_t seed) {
    float x = u * float(cells);
    float y = v * float(cells);
    int cx = int(std::floor(x));
    int cy = int(std::floor(y));
    Cell_Distances result{1e9f, 1e9f, 0, 0};
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            int nx = cx + dx, ny = cy + dy;
            int wx = Wrap(nx, cells), wy = Wrap(ny, cells);
            float px = float(nx) + Lattice_Value(wx, wy, seed);
            float py = float(ny) + Lattice_Value(wx, wy, seed + 7919u);
            float d = std::hypot(px - x, py - y);
            if (d < result.nearest) {
                result.second = result.nearest;
                result = {d, result.second, wx, wy};
            } else if (d < result.second) {
                result.second = d;
            }
        }
    }
    return result;
}
