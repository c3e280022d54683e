#pragma once

#include "Image.h"

#include <algorithm>
#include <cmath>

// Shapes are signed distances in pixels (negative inside); a pixel's share of
// the shape, for antialiased edges, comes from the distance at its centre.
inline float Coverage(float distance) { return std::clamp(0.5f - distance, 0.0f, 1.0f); }

inline float Circle_Distance(float x, float y, float cx, float cy, float radius) {
    return std::hypot(x - cx, y - cy) - radius;
}

inline float Ring_Distance(float x, float y, float cx, float cy, float radius, float half_width) {
    return std::fabs(std::hypot(x - cx, y - cy) - radius) - half_width;
}

inline float Box_Distance(float x, float y, float cx, float cy, float half_w, float half_h) {
    float dx = std::fabs(x - cx) - half_w;
    float dy = std::fabs(y - cy) - half_h;
    return std::hypot(std::max(dx, 0.0f), std::max(dy, 0.0f)) + std::min(std::max(dx, dy), 0.0f);
}

// Distance to the segment a-b, less half its width: a stroke with round ends.
inline float Stroke_Distance(float x, float y, float ax, float ay, float bx, float by, float half_width) {
    float px = x - ax, py = y - ay, ex = bx - ax, ey = by - ay;
    float t = std::clamp((px * ex + py * ey) / (ex * ex + ey * ey), 0.0f, 1.0f);
    return std::hypot(px - ex * t, py - ey * t) - half_width;
}

// Raises each pixel to value times its coverage of the shape.
template <class Distance>
void Paint(Grey_Image& image, float value, Distance distance) {
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            float cover = Coverage(distance(float(x) + 0.5f, float(y) + 0.5f));
            if (cover > 0) image.at(x, y) = std::max(image.at(x, y), value * cover);
        }
}

// Darkens each pixel by its coverage of the shape.
template <class Distance>
void Cut(Grey_Image& image, Distance distance) {
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) image.at(x, y) *= 1.0f - Coverage(distance(float(x) + 0.5f, float(y) + 0.5f));
}

// A soft copy: three box passes of the given radius, edges clamped.
Grey_Image Blur(const Grey_Image& image, int radius);
