#pragma once

#include <cstdint>
#include <string>

// Writes a picture of blue, green, red, alpha bytes as an RGB PNG (the demo's
// alpha carries no meaning); throws with the file's name on failure.
void Write_Png(const std::string& path, const uint8_t* pixels, int width, int height, int pitch);
