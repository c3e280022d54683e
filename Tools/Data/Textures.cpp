#include "Textures.h"

#include "Noise.h"
#include "Shapes.h"

#include <cmath>
#include <numbers>

namespace {

constexpr int Size = 256;
constexpr float Tau = 2.0f * std::numbers::pi_v<float>;

// Calls shade(u, v, x, y) for every pixel, u and v running over 0..1.
template <class Shade>
Colour_Image Tile(Shade shade) {
    Colour_Image image(Size, Size);
    for (int y = 0; y < Size; ++y)
        for (int x = 0; x < Size; ++x)
            image.at(x, y) = shade((float(x) + 0.5f) / Size, (float(y) + 0.5f) / Size, x, y);
    return image;
}

// A cosine palette: colour = base + swing * cos(2 pi (rate * t + phase)).
Rgb Palette(float t, Rgb base, Rgb swing, Rgb rate, Rgb phase) {
    return {base.r + swing.r * std::cos(Tau * (rate.r * t + phase.r)),
            base.g + swing.g * std::cos(Tau * (rate.g * t + phase.g)),
            base.b + swing.b * std::cos(Tau * (rate.b * t + phase.b))};
}

// A colour ramp through evenly spaced stops.
template <size_t N>
Rgb Ramp(const Rgb (&stops)[N], float t) {
    float position = std::clamp(t, 0.0f, 1.0f) * float(N - 1);
    size_t i = std::min(size_t(position), N - 2);
    return Mix(stops[i], stops[i + 1], position - float(i));
}

float Smooth_Step(float edge0, float edge1, float x) {
    float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

// Scratches: strokes drawn with the tile's wrap, so they cross the edges.
Grey_Image Scratches(int count, uint32_t seed, float max_length) {
    Grey_Image marks(Size, Size);
    for (int i = 0; i < count; ++i) {
        float ax = Lattice_Value(i, 0, seed) * Size, ay = Lattice_Value(i, 1, seed) * Size;
        float angle = Lattice_Value(i, 2, seed) * Tau;
        float length = (0.3f + 0.7f * Lattice_Value(i, 3, seed)) * max_length;
        float bx = ax + std::cos(angle) * length, by = ay + std::sin(angle) * length;
        float strength = 0.4f + 0.6f * Lattice_Value(i, 4, seed);
        for (int oy = -1; oy <= 1; ++oy)
            for (int ox = -1; ox <= 1; ++ox)
                Paint(marks, strength, [&](float x, float y) {
                    return Stroke_Distance(x, y, ax + ox * Size, ay + oy * Size, bx + ox * Size, by + oy * Size, 0.6f);
                });
    }
    return marks;
}

}  // namespace

Colour_Image Make_Krazy_Texture() {
    return Tile([](float u, float v, int, int) {
        // Noise bent by noise: marbled, turbulent colour.
        float qx = Fractal_Noise(u, v, 4, 5, 11);
        float qy = Fractal_Noise(u, v, 4, 5, 12);
        float n = Fractal_Noise(u + 0.35f * qx, v + 0.35f * qy, 3, 5, 13);
        float t = n * 2.6f + qx * 0.8f;
        Rgb colour = Palette(t, {0.55f, 0.5f, 0.5f}, {0.5f, 0.5f, 0.5f}, {1.0f, 1.0f, 1.0f}, {0.0f, 0.33f, 0.67f});
        // Thin bright contour lines ride on the marbling.
        float contour = std::fabs(std::fmod(n * 14.0f, 1.0f) - 0.5f) * 2.0f;
        float line = Smooth_Step(0.86f, 0.97f, contour);
        colour = Mix(colour, Rgb{1.0f, 0.95f, 0.8f}, line * 0.7f);
        float shade = 0.55f + 0.6f * Fractal_Noise(u, v, 8, 3, 14);
        return colour * shade;
    });
}

Colour_Image Make_Panel_Texture() {
    constexpr int Cell = 64;
    Colour_Image image = Tile([](float u, float v, int x, int y) {
        int cx = x / Cell, cy = y / Cell;
        // Some cells join with the cell to their right into one wide panel.
        bool wide_left = (cx % 2 == 0) && Lattice_Value(cx / 2, cy, 21) < 0.5f;
        bool wide_right = (cx % 2 == 1) && Lattice_Value(cx / 2, cy, 21) < 0.5f;
        float left = float(cx * Cell - (wide_right ? Cell : 0));
        float right = float((cx + 1) * Cell + (wide_left ? Cell : 0));
        float top = float(cy * Cell), bottom = float((cy + 1) * Cell);
        float px = float(x) + 0.5f, py = float(y) + 0.5f;
        float edge_left = px - left, edge_right = right - px, edge_top = py - top, edge_bottom = bottom - py;
        float edge = std::min(std::min(edge_left, edge_right), std::min(edge_top, edge_bottom));

        int panel = int(left) / Cell + cy * 4;
        float tint = Lattice_Value(panel, 0, 22);
        Rgb steel = Mix(Hex(0x5A6470), Hex(0x8A95A0), tint);
        // Brushed grain runs along the rows.
        float grain = Value_Noise(u, v, 8, 256, 23) * 0.6f + Value_Noise(u, v, 32, 256, 24) * 0.4f;
        Rgb colour = steel * (0.82f + 0.3f * grain);

        // Bevel: light from the top left, shadow on the bottom right.
        if (edge < 1.5f) {
            colour = Hex(0x15181C);
        } else if (edge < 5.0f) {
            bool lit = edge == edge_left || edge == edge_top;
            colour = lit ? Mix(colour, Hex(0xD8E0E8), 0.55f) : colour * 0.45f;
        }

        // Rivets near each corner.
        for (float rx : {left + 9.0f, right - 9.0f})
            for (float ry : {top + 9.0f, bottom - 9.0f}) {
                float d = std::hypot(px - rx, py - ry);
                if (d < 4.0f) {
                    float highlight = std::max(0.0f, 1.0f - std::hypot(px - rx + 1.5f, py - ry + 1.5f) / 3.0f);
                    colour = Mix(Hex(0x3A4048), Hex(0xF0F4F8), highlight) * Coverage(d - 3.5f) +
                             colour * (1.0f - Coverage(d - 3.5f));
                }
            }

        // Vent slots on some panels.
        if (Lattice_Value(panel, 1, 25) < 0.35f && edge > 14.0f) {
            float slot = std::fmod(py - top, 8.0f);
            if (slot > 2.0f && slot < 5.0f && std::fabs(px - (left + right) / 2) < (right - left) / 2 - 18.0f)
                colour = Hex(0x0C0E10);
        }
        // Grime collects with low-frequency noise.
        float grime = Fractal_Noise(u, v, 4, 4, 26);
        return colour * (0.7f + 0.45f * grime);
    });
    return image;
}

Colour_Image Make_Red_Grunge_Texture() {
    Grey_Image scratches = Scratches(40, 31, 90.0f);
    return Tile([&](float u, float v, int x, int y) {
        static const Rgb stops[] = {Hex(0x0A0101), Hex(0x3A0605), Hex(0x8A1208), Hex(0xC8300E), Hex(0xF08030)};
        float n = Fractal_Noise(u, v, 4, 6, 32);
        float stain = Fractal_Noise(u, v, 2, 3, 33);
        Cell_Distances cells = Cell_Noise(u, v, 6, 34);
        // Plates with dark seams between them, each rusted a little differently.
        float seam = Smooth_Step(0.02f, 0.08f, cells.second - cells.nearest);
        float plate = Lattice_Value(cells.cell_x, cells.cell_y, 35);
        float t = 0.25f + 0.55f * n + 0.25f * (plate - 0.5f) - 0.35f * Smooth_Step(0.45f, 0.7f, stain);
        Rgb colour = Ramp(stops, t) * (0.25f + 0.75f * seam);
        colour = Mix(colour, Hex(0xF0A070), scratches.at(x, y) * 0.55f);
        return colour;
    });
}

Colour_Image Make_Blue_Texture() {
    return Tile([](float u, float v, int, int) {
        static const Rgb stops[] = {Hex(0x02040E), Hex(0x0A1E50), Hex(0x1848A0), Hex(0x3C8CE0), Hex(0xB8E8FF)};
        Cell_Distances cells = Cell_Noise(u, v, 7, 41);
        float facet = Lattice_Value(cells.cell_x, cells.cell_y, 42);
        float edge = cells.second - cells.nearest;
        float n = Fractal_Noise(u, v, 8, 4, 43);
        // Each cell is a facet shaded by its own value and darker towards its
        // centre; the boundaries glow.
        float t = 0.2f + 0.45f * facet + 0.25f * n + 0.3f * std::min(cells.nearest, 0.6f);
        Rgb colour = Ramp(stops, t);
        float glow = 1.0f - Smooth_Step(0.0f, 0.12f, edge);
        return Mix(colour, Hex(0xA0F0FF), glow * 0.8f);
    });
}

Colour_Image Make_Green_Texture() {
    return Tile([](float u, float v, int, int) {
        static const Rgb stops[] = {Hex(0x010802), Hex(0x083010), Hex(0x1F6A18), Hex(0x7CC820), Hex(0xE8FF90)};
        // Ridged noise: bright veins where the noise crosses its middle.
        float warp = Fractal_Noise(u, v, 3, 3, 51);
        float n = Fractal_Noise(u + 0.2f * warp, v - 0.2f * warp, 4, 5, 52);
        float ridge = 1.0f - std::fabs(n * 2.0f - 1.0f);
        ridge = std::pow(ridge, 6.0f);
        float body = Fractal_Noise(u, v, 6, 4, 53);
        float t = 0.15f + 0.35f * body + 0.6f * ridge;
        return Ramp(stops, t);
    });
}

Colour_Image Make_Swirl_Texture() {
    return Tile([](float u, float v, int, int) {
        static const Rgb stops[] = {Hex(0x1A0630), Hex(0x6A0C60), Hex(0xE0305A), Hex(0xFF9A20), Hex(0xFFF0A0),
                                    Hex(0x30D0C0), Hex(0x103870), Hex(0x1A0630)};
        // Two crossing wave trains with whole periods across the tile; the
        // vortices wind them into spirals.
        float a = std::sin(Tau * (2.0f * u + 1.0f * v) + 2.0f * Fractal_Noise(u, v, 3, 3, 61));
        float b = std::sin(Tau * (-1.0f * u + 2.0f * v));
        float t = 0.5f + 0.25f * a + 0.25f * b;
        float detail = Fractal_Noise(u, v, 16, 3, 62);
        Rgb colour = Ramp(stops, std::fmod(t * 1.5f + 0.1f * detail, 1.0f));
        return colour * (0.8f + 0.3f * detail);
    });
}
