// zizo-data DIR: writes the run-time data of the show into DIR.

#include "Module.h"
#include "Pictures.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: zizo-data DIR\n");
        return 2;
    }
    std::filesystem::path directory = argv[1];
    std::filesystem::create_directories(directory);
    Write_Pictures(directory);
    std::vector<uint8_t> module = Compose_Tekno_Module();
    std::ofstream(directory / "tekno.xm", std::ios::binary)
        .write(reinterpret_cast<const char*>(module.data()), std::streamsize(module.size()));
    return 0;
}
