#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

// A picture being drawn: values in floating point, rows top to bottom.
template <class T>
struct Image {
    Image(int w, int h, T fill = T()) : width(w), height(h), pixels(size_t(w) * size_t(h), fill) {}
    T& at(int x, int y) { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
    const T& at(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
    int width;
    int height;
    std::vector<T> pixels;
};

struct Rgb {
    float r = 0, g = 0, b = 0;
};

inline Rgb operator+(Rgb a, Rgb b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
inline Rgb operator-(Rgb a, Rgb b) { return {a.r - b.r, a.g - b.g, a.b - b.b}; }
inline Rgb operator*(Rgb a, float k) { return {a.r * k, a.g * k, a.b * k}; }
inline Rgb operator*(Rgb a, Rgb b) { return {a.r * b.r, a.g * b.g, a.b * b.b}; }
inline Rgb Mix(Rgb a, Rgb b, float t) { return a + (b - a) * t; }
inline float Mix(float a, float b, float t) { return a + (b - a) * t; }

// 0xRRGGBB written the way designers write colours.
inline Rgb Hex(uint32_t rgb) {
    return {float((rgb >> 16) & 0xFF) / 255.0f, float((rgb >> 8) & 0xFF) / 255.0f, float(rgb & 0xFF) / 255.0f};
}

using Grey_Image = Image<float>;
using Colour_Image = Image<Rgb>;

// Rounds 0..1 to a byte, clamping what lies outside.
inline uint8_t To_Byte(float value) {
    return uint8_t(std::clamp(value, 0.0f, 1.0f) * 255.0f + 0.5f);
}
