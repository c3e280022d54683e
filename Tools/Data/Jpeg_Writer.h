#pragma once

#include "Image.h"

#include <cstdint>
#include <vector>

// A baseline colour JPEG file of the picture.
std::vector<uint8_t> Encode_Jpeg(const Colour_Image& image, int quality);
