// zizo-data DIR: writes the run-time data of the show into DIR.
// zizo-data --scramble IN OUT: applies the program's picture key to a file,
// which scrambles a plain JPEG file and unscrambles a scrambled one.

#include "File_Io.h"
#include "Module.h"
#include "Pictures.h"
#include "Scramble.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <string_view>

namespace {

void Write_Data(const std::filesystem::path& directory) {
    std::filesystem::create_directories(directory);
    Write_Pictures(directory);
    Write_File(directory / "tekno.xm", Compose_Tekno_Module());
}

void Scramble_File(const std::filesystem::path& in, const std::filesystem::path& out) {
    std::vector<uint8_t> bytes = Read_File(in);
    Scramble(bytes);
    Write_File(out, bytes);
}

}  // namespace

int main(int argc, char** argv) {
    try {
        if (argc == 4 && std::string_view(argv[1]) == "--scramble") {
            Scramble_File(argv[2], argv[3]);
        } else if (argc == 2 && argv[1][0] != '-') {
            Write_Data(argv[1]);
        } else {
            std::fprintf(stderr, "usage: zizo-data DIR\n       zizo-data --scramble IN OUT\n");
            return 2;
        }
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "zizo-data: %s\n", failure.what());
        return 1;
    }
    return 0;
}
