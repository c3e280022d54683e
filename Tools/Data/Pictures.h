#pragma once

#include <filesystem>

// Writes every picture the show reads below directory.
void Write_Pictures(const std::filesystem::path& directory);
