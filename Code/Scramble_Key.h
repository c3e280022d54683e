#pragma once

#include <cstdint>

// Byte n of a scrambled picture file is XORed with (start + n * step) & 0xFF.
// The start is not 0, so a scrambled file never begins with a JPEG marker's
// 0xFF and is told apart from a plain one by its first byte.
constexpr uint8_t Scramble_Key_Start = 0x3B;
constexpr uint8_t Scramble_Key_Step = 0x65;
