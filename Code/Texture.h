#pragma once

#include "Holder.h"

#include <cstdint>

// A read-only picture: rows top to bottom, no padding; 4-byte pixels are the
// bytes blue, green, red, alpha, the frame buffer's layout.
class Texture {
public:
    virtual ~Texture();
    virtual int width() = 0;
    virtual int height() = 0;
    virtual const uint8_t* pixels() = 0;
    virtual int bytes_per_pixel() = 0;
};

Holder<Texture> Load_Tga(const char* file_name);
Holder<Texture> Load_Jpeg(const char* file_name);
