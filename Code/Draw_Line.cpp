#include "Draw_Line.h"

#include "Colour.h"
#include "Lookup_Table.h"

#include <cmath>
#include <utility>

namespace {

constexpr float Low_Bound = 2.0f;

// Clips the segment against the low edge a = Low_Bound, interpolating b.
// False when both ends lie below it.
bool Clip_Low(float& a0, float& b0, float& a1, float& b1) {
    if (a0 < Low_Bound && a1 < Low_Bound)
        return false;
    if (a0 < Low_Bound) {
        b0 = b0 + (b1 - b0) / (a1 - a0) * (Low_Bound - a0);
        a0 = Low_Bound;
    } else if (a1 < Low_Bound) {
        b1 = b1 + (b0 - b1) / (a0 - a1) * (Low_Bound - a1);
        a1 = Low_Bound;
    }
    return true;
}

// Clips against the high edge a = high; a segment lying on it is dropped.
bool Clip_High(float& a0, float& b0, float& a1, float& b1, float high) {
    if (a0 >= high && a1 >= high)
        return false;
    if (a0 >= high) {
        b0 = b0 - (b0 - b1) / (a0 - a1) * (a0 - high);
        a0 = high;
    } else if (a1 >= high) {
        b1 = b1 - (b1 - b0) / (a1 - a0) * (a1 - high);
        a1 = high;
    }
    return true;
}

// Adds colour at weight w (0 to 255) to one pixel.
void Add_Weighted(uint32_t& pixel, uint32_t colour, const uint8_t* weights, int w) {
    const uint8_t* row = weights + 256 * w;
    const uint32_t contribution = 0xFF000000u | uint32_t(row[(colour >> 16) & 0xFF]) << 16 |
                                  uint32_t(row[(colour >> 8) & 0xFF]) << 8 | uint32_t(row[colour & 0xFF]);
    pixel = Add_Saturate(contribution, pixel);
}

// Steps along the major axis a, one pixel pair per whole a from trunc(a0) up
// to but excluding trunc(a1); the pair straddles the line across the minor
// axis b. near(a, b) gives the first pixel of a pair, far is the offset of
// the second.
template <class Pixel_At>
void Step_Along(float a0, float b0, float a1, float b1, Pixel_At near, int far, uint32_t colour) {
    if (a0 > a1) {
        std::swap(a0, a1);
        std::swap(b0, b1);
    }
    const int start = int(a0);
    const int n = int(a1) - start;
    if (n == 0)
        return;
    const float slope = (b1 - b0) / float(n);
    const float b_start = b0 + slope * (float(start) - a0);
    int32_t b = int32_t(b_start * 65536.0f);
    const int32_t step = int32_t(slope * 65536.0f);
    const uint8_t* weights = s_mul_table->m_data;
    for (int a = start; a < start + n; ++a, b += step) {
        const int f = (b >> 8) & 0xFF;
        uint32_t* pixel = near(a, b >> 16);
        Add_Weighted(pixel[0], colour, weights, 255 - f);
        Add_Weighted(pixel[far], colour, weights, f);
    }
}

}

void Draw_Line(Screen* screen, float x0, float y0, float x1, float y1, uint32_t colour) {
    // Taken from the first screen and kept: the program has only one.
    static const float x_max = float(screen->width() - 2);
    static const float y_max = float(screen->height() - 2);

    if (!Clip_Low(x0, y0, x1, y1) || !Clip_High(x0, y0, x1, y1, x_max) || !Clip_Low(y0, x0, y1, x1) ||
        !Clip_High(y0, x0, y1, x1, y_max))
        return;
    // A NaN passes every comparison above and infinities turn into NaNs on
    // the way, so nothing non-finite may reach the integer conversions.
    if (!std::isfinite(x0) || !std::isfinite(y0) || !std::isfinite(x1) || !std::isfinite(y1))
        return;

    uint32_t* const pixels = screen->pixels();
    const int width = screen->width();
    if (std::fabs(x1 - x0) > std::fabs(y1 - y0))
        Step_Along(
            x0, y0, x1, y1, [&](int x, int row) { return pixels + row * width + x; }, width, colour);
    else
        Step_Along(
            y0, x0, y1, x1, [&](int y, int column) { return pixels + y * width + column; }, 1, colour);
}
