#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

// Both throw std::runtime_error naming the file and the reason.
std::vector<uint8_t> Read_File(const std::filesystem::path& path);
void Write_File(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);
