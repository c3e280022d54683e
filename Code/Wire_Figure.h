#pragma once

#include "Part.h"
#include "Screen.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// π as the figures have always used it, a float short of the true value.
constexpr float Pi = 3.141592f;

struct Wire_Point {
    float x;
    float y;
};

// The machinery the two wire-figure scenes share: the members up to their
// pictures, the type-0 model curve, the rotation and the type-1 lines. Each
// scene keeps its own class-wide statics and passes them in.
class Wire_Figure : public Part {
protected:
    // Stores the parameters and allocates both point arrays, unfilled.
    Wire_Figure(Screen* screen, const Scene_Params* params);

    void fill_type0_points();
    // The whole of update(): phase, rotation and the one-time change at order 4.
    void advance(float& update_time);
    void draw_type1_lines(uint32_t colour);

    Screen* m_screen;
    std::vector<Wire_Point> m_points;
    std::vector<Wire_Point> m_rotated;
    float m_phase;
    uint32_t m_line_colour;
    Scene_Params m_params;
    float m_scale;
    float m_speed;
    float m_boost;
};

// Sets the flash to 1.2 on a beat row not seen by the previous frame: every
// fourth row in order 0, every second row after it.
void Trigger_Beat_Flash(float& flash, int seen_row, int order, int row);

// Each colour byte times the flash, truncated and limited to 255; alpha 0xFF.
uint32_t Scale_Colour(uint32_t colour, float flash);

// Adds count grey bytes g as the colours g * 0x010101.
void Add_Grey(uint32_t* pixels, const uint8_t* grey, size_t count);
