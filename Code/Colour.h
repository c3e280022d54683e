#pragma once

#include <cstdint>

// Per-channel saturating add of two 0xAARRGGBB pixels. The lowest bits of red
// and green are dropped so that carries have somewhere to land; alpha is set.
inline uint32_t Add_Saturate(uint32_t a, uint32_t b) {
    uint32_t sum = (a & 0x00FEFEFF) + (b & 0x00FEFEFF);
    uint32_t carries = sum & 0x01010100;
    return sum | (carries - (carries >> 8)) | 0xFF000000;
}
