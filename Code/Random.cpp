#include "Random.h"

#include <cstdint>

namespace {

uint32_t s_rand_state = 1;

}

int Rand() {
    s_rand_state = s_rand_state * 214013u + 2531011u;
    return int((s_rand_state >> 16) & 0x7FFF);
}
