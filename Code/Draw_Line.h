#pragma once

#include "Screen.h"

#include <cstdint>

// Adds an antialiased segment to the frame buffer with per-channel
// saturation. Endpoints are in pixels, in any order, anywhere: the segment is
// clipped to a margin of 2 pixels inside the screen of the first call.
void Draw_Line(Screen* screen, float x0, float y0, float x1, float y1, uint32_t colour);
