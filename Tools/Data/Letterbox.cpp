#include "Letterbox.h"

#include "Font.h"
#include "Noise.h"
#include "Shapes.h"

#include <cmath>

namespace {

constexpr int Width = 640;

// Adds a glowing tint: colour times the mask's value at each pixel.
void Add_Light(Colour_Image& image, const Grey_Image& mask, Rgb colour) {
    for (size_t i = 0; i < image.pixels.size(); ++i) image.pixels[i] = image.pixels[i] + colour * mask.pixels[i];
}

// A sparse field of small stars, fainter towards the horizon.
void Add_Stars(Colour_Image& image, int horizon, uint32_t seed) {
    for (int y = 0; y < horizon; ++y)
        for (int x = 0; x < image.width; ++x) {
            float chance = Lattice_Value(x, y, seed);
            if (chance > 0.9975f) {
                float brightness = (chance - 0.9975f) / 0.0025f * (1.0f - float(y) / float(horizon));
                image.at(x, y) = image.at(x, y) + Rgb{0.8f, 0.85f, 1.0f} * brightness;
            }
        }
}

}  // namespace

Colour_Image Make_Title_Card() {
    constexpr int Height = 360;
    Colour_Image image(Width, Height);
    // A night sky over a low glowing horizon.
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) {
            float t = float(y) / Height;
            float glow = std::exp(-std::pow((t - 0.68f) / 0.12f, 2.0f));
            float haze = Fractal_Noise(float(x) / Width, float(y) / Height, 4, 4, 71);
            image.at(x, y) = Mix(Hex(0x03040C), Hex(0x0B1030), t) + Hex(0x40208A) * (glow * (0.5f + 0.5f * haze));
        }
    Add_Stars(image, 240, 72);

    Font bold(Font_File("DejaVuSans-Bold.ttf"));
    Font light(Font_File("DejaVuSans-ExtraLight.ttf"));
    Grey_Image title(Width, Height);
    bold.draw_centred(title, "Zizo", 150, Width / 2, 212);
    Add_Light(image, Blur(title, 12), Hex(0xFF5AA0) * 1.6f);
    Add_Light(image, Blur(title, 3), Hex(0xFFB070) * 0.8f);
    // The letters themselves: white at the top, warm at the foot.
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) {
            float cover = title.at(x, y);
            if (cover > 0) {
                Rgb fill = Mix(Hex(0xFFFFFF), Hex(0xFFC060), std::clamp((float(y) - 100.0f) / 120.0f, 0.0f, 1.0f));
                image.at(x, y) = Mix(image.at(x, y), fill, cover);
            }
        }

    Grey_Image words(Width, Height);
    light.draw_centred(words, "a real-time demo", 22, Width / 2, 262);
    light.draw_centred(words, "loading", 14, Width / 2, 330, 0.7f);
    // Two hairlines frame the title like the edges of a wide screen.
    Paint(words, 0.6f, [](float x, float y) { return Box_Distance(x, y, 320, 70, 200, 0.5f); });
    Paint(words, 0.6f, [](float x, float y) { return Box_Distance(x, y, 320, 290, 200, 0.5f); });
    Add_Light(image, words, Hex(0xD0D8FF));
    return image;
}

Colour_Image Make_Closing_Picture() {
    constexpr int Height = 368;
    constexpr int Horizon = 236;
    Colour_Image image(Width, Height);

    // Sky: violet above, burning towards the horizon.
    static const Rgb sky[] = {Hex(0x08021A), Hex(0x2A0848), Hex(0x8A1868), Hex(0xF05A50)};
    for (int y = 0; y < Horizon; ++y)
        for (int x = 0; x < Width; ++x) {
            float t = std::pow(float(y) / Horizon, 1.6f) * 3.0f;
            int i = std::min(int(t), 2);
            image.at(x, y) = Mix(sky[i], sky[i + 1], t - float(i));
        }
    Add_Stars(image, 150, 81);

    // The sun, cut by bands that widen towards its foot.
    constexpr float Sun_X = 320, Sun_Y = 160, Sun_R = 112;
    for (int y = 0; y < Horizon; ++y)
        for (int x = 0; x < Width; ++x) {
            float px = float(x) + 0.5f, py = float(y) + 0.5f;
            float cover = Coverage(Circle_Distance(px, py, Sun_X, Sun_Y, Sun_R));
            if (py > Sun_Y - 10) {
                float depth = (py - (Sun_Y - 10)) / (Sun_R + 10);
                float band = std::fmod(py - (Sun_Y - 10), 18.0f);
                if (band < 2.0f + 9.0f * depth) cover = 0;
            }
            float halo = std::exp(-std::max(0.0f, std::hypot(px - Sun_X, py - Sun_Y) - Sun_R) / 40.0f) * 0.35f;
            Rgb sun = Mix(Hex(0xFFF080), Hex(0xFF3070), std::clamp((py - (Sun_Y - Sun_R)) / (2 * Sun_R), 0.0f, 1.0f));
            image.at(x, y) = Mix(image.at(x, y) + Hex(0xFF4080) * halo, sun, cover);
        }

    // Two ranges of mountains in front of the sun.
    for (int range = 0; range < 2; ++range) {
        Rgb colour = range == 0 ? Hex(0x3A0C50) : Hex(0x12041E);
        Rgb rim = range == 0 ? Hex(0xB040C0) : Hex(0xFF60C0);
        for (int x = 0; x < Width; ++x) {
            float u = float(x) / Width;
            float ridge = Fractal_Noise(u, 0.37f + range * 0.21f, range == 0 ? 3 : 5, 5, 82 + uint32_t(range));
            float peak = float(Horizon) - (range == 0 ? 18.0f + 70.0f * ridge * ridge : 4.0f + 34.0f * ridge * ridge);
            for (int y = 0; y < Horizon; ++y) {
                float depth = float(y) + 0.5f - peak;
                float cover = Coverage(-depth);
                if (cover <= 0) continue;
                float edge = std::exp(-std::max(depth, 0.0f) / 2.5f);
                image.at(x, y) = Mix(image.at(x, y), Mix(colour, rim, edge), cover);
            }
        }
    }

    // Ground: a grid running to the horizon.
    for (int y = Horizon; y < Height; ++y)
        for (int x = 0; x < Width; ++x) {
            float depth = (float(y) - Horizon + 0.5f) / (Height - Horizon);
            float z = 1.0f / (depth + 0.02f);
            float gx = (float(x) + 0.5f - Sun_X) * z / 40.0f;
            float line_x = std::fabs(gx - std::round(gx)) / (z / 40.0f) * 1.0f;
            float line_z = std::fabs(z * 2.0f - std::round(z * 2.0f)) / (z * z * 2.0f / (Height - Horizon));
            float grid = std::max(Coverage(line_x - 0.8f), Coverage(line_z - 0.8f));
            // Lines crowd at the horizon: let them fade in from it.
            float fade = std::pow(std::clamp((depth - 0.03f) * 3.0f, 0.0f, 1.0f), 2.0f);
            Rgb ground = Mix(Hex(0x200830), Hex(0x05020A), depth);
            image.at(x, y) = Mix(ground, Hex(0xFF40B0), grid * fade) + Hex(0xF05A50) * (0.4f * std::exp(-depth * 8.0f));
        }
    return image;
}
