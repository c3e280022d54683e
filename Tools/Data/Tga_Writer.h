#pragma once

#include "Image.h"

#include <cstdint>
#include <vector>

// The ways an 8-bit grey TGA file can store its pixels; the show's files use
// all of them so that its own data takes every path of the loader.
enum class Tga_Storage {
    Raw_Bottom_Up,      // type 3, rows from the bottom
    Raw_Top_Down,       // type 3, rows from the top
    Rle_Bottom_Up,      // type 11, run-length packets
    Rle_Top_Down,
    Mapped_Bottom_Up,   // type 1, an identity grey colour map and an id field
};

std::vector<uint8_t> Encode_Tga(const Grey_Image& image, Tga_Storage storage);
