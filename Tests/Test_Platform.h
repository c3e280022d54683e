#pragma once

// A fresh virtual platform for one test, and helpers to script it.

#include "Virtual_Backend.h"

#include <cstdint>

struct Test_Platform {
    Test_Platform() { Platform::Use_Backend(&backend); }
    ~Test_Platform() { Platform::Use_Backend(nullptr); }

    Platform::Virtual_Backend backend;
};

// The sound device's position word: order in the low 16 bits, row in the high.
inline uint32_t Position_Word(int order, int row) { return uint32_t(order) | (uint32_t(row) << 16); }
