#include "Grey_Pictures.h"

#include "Font.h"
#include "Shapes.h"

#include <cmath>
#include <numbers>
#include <vector>

namespace {

constexpr int Width = 640;
constexpr float Pi = std::numbers::pi_v<float>;

// A soft halo below the shapes, so they glow rather than sit flat.
void Add_Halo(Grey_Image& image, int radius, float strength) {
    Grey_Image halo = Blur(image, radius);
    for (size_t i = 0; i < image.pixels.size(); ++i)
        image.pixels[i] = std::max(image.pixels[i], std::min(1.0f, halo.pixels[i] * strength));
}

// Distance to a regular polygon of the given corner radius, one corner up.
float Polygon_Distance(float x, float y, float cx, float cy, float radius, int corners, float turn = 0) {
    float angle = std::atan2(x - cx, cy - y) - turn;
    float sector = 2 * Pi / float(corners);
    float local = std::fmod(std::fmod(angle, sector) + sector, sector) - sector / 2;
    float r = std::hypot(x - cx, y - cy);
    return r * std::cos(local) - radius * std::cos(sector / 2);
}

float Outline(float distance, float half_width) { return std::fabs(distance) - half_width; }

Grey_Image Word_Picture(std::string_view word, int height, int size, int baseline, float value) {
    Grey_Image image(Width, height);
    Font font(Font_File("DejaVuSansCondensed-Bold.ttf"));
    while (font.measure(word, size) > Width - 60) size -= 4;
    font.draw_centred(image, word, size, Width / 2, baseline, value);
    return image;
}

}  // namespace

Grey_Image Make_Overlay(int index) {
    // Rows 10 to h - 11 land on screen rows 70 onward; at 374 rows they end
    // on the grid band's last row, where the grid redraws them every frame.
    // Taller, they would pile up below the band until the next clear.
    constexpr int Height = 374;
    constexpr float Cx = 320, Cy = 180;   // on screen: the middle of the grid band
    Grey_Image image(Width, Height);
    switch (index) {
    case 0:
        image = Word_Picture("ZIZO", Height, 240, 265, 0.85f);
        break;
    case 1:   // a target
        for (int ring = 0; ring < 4; ++ring)
            Paint(image, 0.85f, [&](float x, float y) { return Ring_Distance(x, y, Cx, Cy, 40.0f + 45.0f * ring, 12); });
        Paint(image, 0.85f, [&](float x, float y) { return Box_Distance(x, y, Cx, Cy, 300, 5); });
        Paint(image, 0.85f, [&](float x, float y) { return Box_Distance(x, y, Cx, Cy, 5, 175); });
        break;
    case 2:
        image = Word_Picture("WARP", Height, 240, 265, 0.85f);
        break;
    default:  // three chevrons pointing right
        for (int i = 0; i < 3; ++i) {
            float tip = 230.0f + 130.0f * i;
            auto chevron = [&](float x, float y) {
                return std::min(Stroke_Distance(x, y, tip - 110, Cy - 120, tip, Cy, 22),
                                Stroke_Distance(x, y, tip, Cy, tip - 110, Cy + 120, 22));
            };
            Paint(image, 0.45f + 0.2f * float(i), chevron);
        }
        break;
    }
    Add_Halo(image, 10, 0.6f);
    return image;
}

Grey_Image Make_Drum_Picture(int index) {
    constexpr int Height = 360;
    constexpr float Cx = 320, Cy = 180;
    Grey_Image image(Width, Height);
    switch (index) {
    case 0:   // bass drum: a solid core in expanding rings
        Paint(image, 1.0f, [&](float x, float y) { return Circle_Distance(x, y, Cx, Cy, 60); });
        for (int ring = 1; ring <= 3; ++ring)
            Paint(image, 1.0f - 0.22f * ring,
                  [&](float x, float y) { return Ring_Distance(x, y, Cx, Cy, 60.0f + 42.0f * ring, 14.0f - 3.0f * ring); });
        break;
    case 1:   // snare: a sharp burst
        Paint(image, 1.0f, [&](float x, float y) {
            float angle = std::atan2(y - Cy, x - Cx);
            float spikes = std::pow(std::fabs(std::cos(angle * 6.0f)), 8.0f);
            float jag = std::pow(std::fabs(std::cos(angle * 17.0f + 0.6f)), 4.0f);
            float reach = 55.0f + 110.0f * spikes + 35.0f * jag;
            return (std::hypot(x - Cx, y - Cy) - reach) * 0.5f;
        });
        break;
    case 2:   // a slash of parallel bars
        for (int i = -2; i <= 2; ++i)
            Paint(image, 1.0f - 0.12f * std::abs(i), [&](float x, float y) {
                float ox = Cx + 62.0f * float(i);
                return Stroke_Distance(x, y, ox - 70, Cy + 150, ox + 70, Cy - 150, 16);
            });
        break;
    case 3:   // a burst of dots
        for (int ring = 0; ring < 5; ++ring) {
            int dots = ring == 0 ? 1 : 8 * ring;
            for (int k = 0; k < dots; ++k) {
                float angle = 2 * Pi * float(k) / float(dots) + 0.3f * ring;
                float dx = Cx + std::cos(angle) * 36.0f * ring, dy = Cy + std::sin(angle) * 36.0f * ring;
                float radius = 16.0f - 2.5f * ring;
                Paint(image, 1.0f, [&](float x, float y) { return Circle_Distance(x, y, dx, dy, radius); });
            }
        }
        break;
    case 4:   // triangle
        Paint(image, 1.0f, [&](float x, float y) { return Outline(Polygon_Distance(x, y, Cx, Cy + 20, 150, 3), 16); });
        break;
    case 5:   // diamond
        Paint(image, 1.0f, [&](float x, float y) { return Outline(Polygon_Distance(x, y, Cx, Cy, 145, 4), 16); });
        break;
    case 6:   // circle
        Paint(image, 1.0f, [&](float x, float y) { return Ring_Distance(x, y, Cx, Cy, 130, 16); });
        break;
    default:  // cross
        Paint(image, 1.0f, [&](float x, float y) {
            return std::min(Stroke_Distance(x, y, Cx - 110, Cy - 110, Cx + 110, Cy + 110, 18),
                            Stroke_Distance(x, y, Cx - 110, Cy + 110, Cx + 110, Cy - 110, 18));
        });
        break;
    }
    Add_Halo(image, 14, 0.7f);
    return image;
}

Grey_Image Make_Text_Picture(std::string_view text) {
    constexpr int Height = 480;
    constexpr int Largest = 84;
    constexpr int Room = Width - 80;
    Grey_Image image(Width, Height);
    Font font(Font_File("DejaVuSans-Bold.ttf"));
    // A line too long for the largest size breaks at the space nearest its
    // middle rather than shrinking.
    size_t split = std::string_view::npos;
    if (font.measure(text, Largest) > Room)
        for (size_t i = text.find(' '); i != std::string_view::npos; i = text.find(' ', i + 1))
            if (split == std::string_view::npos || std::abs(int(i) * 2 - int(text.size())) <
                                                        std::abs(int(split) * 2 - int(text.size())))
                split = i;
    std::vector<std::string_view> lines = {text};
    if (split != std::string_view::npos) lines = {text.substr(0, split), text.substr(split + 1)};
    int size = Largest;
    for (std::string_view line : lines)
        while (font.measure(line, size) > Room) size -= 2;
    int line_height = size * 6 / 5;
    int baseline = Height / 2 + size * 3 / 8 - line_height * (int(lines.size()) - 1) / 2;
    for (std::string_view line : lines) {
        font.draw_centred(image, line, size, Width / 2, baseline);
        baseline += line_height;
    }
    Add_Halo(image, 8, 0.8f);
    return image;
}
