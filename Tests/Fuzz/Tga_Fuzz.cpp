#include "Load_Bytes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Load_Bytes(Load_Tga, data, size);
    return 0;
}
