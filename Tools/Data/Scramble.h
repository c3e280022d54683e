#pragma once

#include <cstdint>
#include <vector>

// XORs the bytes with the program's picture key; applying it twice gives the
// original bytes back.
void Scramble(std::vector<uint8_t>& bytes);
