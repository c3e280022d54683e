#include "Scramble.h"

#include "Scramble_Key.h"

void Scramble(std::vector<uint8_t>& bytes) {
    uint8_t key = Scramble_Key_Start;
    for (uint8_t& byte : bytes) {
        byte ^= key;
        key = uint8_t(key + Scramble_Key_Step);
    }
}
