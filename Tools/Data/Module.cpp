#include "Module.h"

std::vector<uint8_t> Compose_Tekno_Module() { return {}; }
