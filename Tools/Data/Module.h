#pragma once

#include <cstdint>
#include <vector>

// The show's module, tekno.xm, as the bytes of an XM file.
std::vector<uint8_t> Compose_Tekno_Module();
