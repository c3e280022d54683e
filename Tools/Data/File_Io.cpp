#include "File_Io.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>

namespace {

using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

std::runtime_error Failure(const char* what, const std::filesystem::path& path) {
    return std::runtime_error(std::string("cannot ") + what + " " + path.string() + ": " + std::strerror(errno));
}

}  // namespace

std::vector<uint8_t> Read_File(const std::filesystem::path& path) {
    File file(std::fopen(path.c_str(), "rb"), std::fclose);
    if (!file) throw Failure("open", path);
    std::vector<uint8_t> bytes;
    uint8_t buffer[65536];
    size_t count;
    while ((count = std::fread(buffer, 1, sizeof buffer, file.get())) > 0)
        bytes.insert(bytes.end(), buffer, buffer + count);
    if (std::ferror(file.get())) throw Failure("read", path);
    return bytes;
}

void Write_File(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::FILE* raw = std::fopen(path.c_str(), "wb");
    if (!raw) throw Failure("create", path);
    File file(raw, std::fclose);
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), raw) == bytes.size();
    if (!written || std::fclose(file.release()) != 0) throw Failure("write", path);
}
