#pragma once

// Hands one fuzz input to a loader through a file, since the loaders take
// file names. A refused file is a fine outcome; a crash, a leak or a read out
// of bounds is what the sanitizers are there to catch.

#include "Texture.h"
#include "Throw_Assertion.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

inline void Load_Bytes(Holder<Texture> (*load)(const char*), const uint8_t* data, size_t size) {
    static const std::string file = "/tmp/zizo-fuzz-" + std::to_string(getpid());
    FILE* out = std::fopen(file.c_str(), "wb");
    if (!out || std::fwrite(data, 1, size, out) != size || std::fclose(out) != 0)
        std::abort();
    try {
        Holder<Texture> texture = load(file.c_str());
        // Touch every byte, so that a texture shorter than it claims shows.
        const uint8_t* pixels = texture->pixels();
        size_t bytes = size_t(texture->width()) * texture->height() * texture->bytes_per_pixel();
        volatile uint8_t sum = 0;
        for (size_t i = 0; i < bytes; ++i)
            sum = uint8_t(sum + pixels[i]);
    } catch (const QEV_Lib::Assertion_Failure&) {
    }
}
