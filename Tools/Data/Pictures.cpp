#include "Pictures.h"

void Write_Pictures(const std::filesystem::path&) {}
