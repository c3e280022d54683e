#pragma once

#include <filesystem>

// Writes every picture the show reads into directory/texture and
// directory/tekstit, the same bytes on every run. Throws std::runtime_error
// naming the file that could not be written, or the font that is missing.
void Write_Pictures(const std::filesystem::path& directory);
