#pragma once

#include "Image.h"

#include <string_view>

// The grey pictures the scenes add over their frames; black adds nothing.

// Overlays MO_1 to MO_4 (index 0 to 3) of the grid scene: 640x400.
Grey_Image Make_Overlay(int index);

// The drum scene's pictures, 640x360, in the scene's order: x1_basari,
// x2_snare, x3_vs1, x1_vs2, g1, g2, g3, g4.
Grey_Image Make_Drum_Picture(int index);

// A 640x480 text picture: one line, white on black, centred.
Grey_Image Make_Text_Picture(std::string_view text);
