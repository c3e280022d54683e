// The two rendering primitives at the sizes the scenes use, each to be read
// against the plain copy of one frame buffer measured in the same run.

#include "Draw_Line.h"
#include "Grid.h"
#include "Screen.h"
#include "Texture.h"
#include "Virtual_Backend.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <vector>

namespace {

constexpr int Width = 640;
constexpr int Height = 480;

struct Virtual_Platform {
    Virtual_Platform() { Platform::Use_Backend(&backend); }
    ~Virtual_Platform() { Platform::Use_Backend(nullptr); }

    Platform::Virtual_Backend backend;
};

// The backend is chosen before the screen is made.
struct Virtual_Screen {
    Virtual_Platform platform;
    DDraw_Screen screen{nullptr, nullptr, Width, Height, 32};
};

class Pattern_Texture : public Texture {
public:
    Pattern_Texture() : m_pixels(4 * 256 * 256) {
        for (int i = 0; i < 256 * 256; ++i) {
            const int x = i % 256, y = i / 256;
            const uint32_t texel = 0xFF000000u | uint32_t(x ^ y) << 16 | uint32_t(x) << 8 | uint32_t(y);
            std::memcpy(&m_pixels[4 * i], &texel, 4);
        }
    }
    int width() override { return 256; }
    int height() override { return 256; }
    const uint8_t* pixels() override { return m_pixels.data(); }
    int bytes_per_pixel() override { return 4; }

private:
    std::vector<uint8_t> m_pixels;
};

void Frame_Copy(benchmark::State& state) {
    std::vector<uint32_t> from(Width * Height, 0xFF102030), to(Width * Height);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), Width * Height * 4);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * Width * Height * 4);
}
BENCHMARK(Frame_Copy);

// A swirl that changes every frame, with light across the whole shade range.
void Grid_Render(benchmark::State& state) {
    Virtual_Screen v;
    Pattern_Texture texture;
    Holder<Grid> grid = Create_Grid(&v.screen, &texture, 41, 24);
    constexpr int Frames = 16;
    std::vector<Grid_Vertex> frames(size_t(Frames) * 41 * 24);
    for (int f = 0; f < Frames; ++f)
        for (int i = 0; i < 24; ++i)
            for (int j = 0; j < 41; ++j) {
                const float dx = float(j - 20), dy = float(i - 12);
                const float r = std::sqrt(dx * dx + dy * dy), a = std::atan2(dy, dx) + 0.3f * f + 0.05f * r;
                frames[(size_t(f) * 24 + i) * 41 + j] = {int32_t(r * 9.0f * std::cos(a) * 65535),
                                                         int32_t(r * 9.0f * std::sin(a) * 65535),
                                                         int32_t((128 + 20 * r + 7 * f) * 65535)};
            }
    int f = 0;
    for (auto _ : state) {
        std::memcpy(grid->vertices(), &frames[size_t(f) * 41 * 24], 41 * 24 * sizeof(Grid_Vertex));
        f = (f + 1) % Frames;
        grid->render();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(Grid_Render);

// The drum scene's figure: 3000 points of the looped curve, rotated, each
// segment's ends stretched by the pulsing amplitudes (around 10), so segments
// run from a few pixels to a few tens across the middle of the screen.
void Drum_Lines(benchmark::State& state) {
    Virtual_Screen v;
    constexpr int Count = 1500;
    std::vector<float> px(2 * Count), py(2 * Count);
    for (int i = 0; i < 2 * Count; ++i) {
        const float a = 7.0f * std::sin(17.0f * float(M_PI) * i / Count);
        const float b = 7.0f * std::cos(20.0f * float(M_PI) * i / Count);
        const float k = 1.0f + 0.9f * std::sin(3.0f * std::atan2(a, b));
        px[i] = a * k;
        py[i] = b * k;
    }
    struct Segment {
        float x0, y0, x1, y1;
    };
    constexpr int Frames = 16;
    std::vector<Segment> frames;
    for (int f = 0; f < Frames; ++f) {
        const float phase = 0.05f * f;
        const float s = std::sin(14 * phase), co = std::cos(14 * phase);
        const float ax = 10 + 3 * std::sin(14 * phase), ay = 10 + 5 * std::cos(13.5f * phase);
        const float bx = 10 + 6 * std::sin(7.6f * phase), by = 10 - 2 * std::cos(17 * phase);
        for (int k = 0; k < Count; ++k) {
            const float p_x = s * px[2 * k] - co * py[2 * k], p_y = co * px[2 * k] + s * py[2 * k];
            const float q_x = s * px[2 * k + 1] - co * py[2 * k + 1], q_y = co * px[2 * k + 1] + s * py[2 * k + 1];
            frames.push_back({p_x * ax + Width / 2, p_y * ay + Height / 2, q_x * bx + Width / 2, q_y * by + Height / 2});
        }
    }
    // The additions are branch-free, so a saturated screen costs the same as
    // a cleared one and is not cleared here.
    int f = 0;
    for (auto _ : state) {
        for (int k = 0; k < Count; ++k) {
            const Segment& g = frames[size_t(f) * Count + k];
            Draw_Line(&v.screen, g.x0, g.y0, g.x1, g.y1, 0xFF065179);
        }
        f = (f + 1) % Frames;
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * Count);
}
BENCHMARK(Drum_Lines);

}
