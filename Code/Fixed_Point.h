#pragma once

#include <cstdint>

// A 16.16 vertex value from a scaled float: truncated towards zero to 64 bits
// and the low 32 kept. Not a number, or a value outside the 64-bit range,
// gives 0, so that no input is undefined.
inline int32_t Fix(double x) {
    constexpr double Limit = 9223372036854775808.0; // 2^63
    if (!(x >= -Limit && x < Limit))
        return 0;
    return int32_t(uint32_t(uint64_t(int64_t(x))));
}
