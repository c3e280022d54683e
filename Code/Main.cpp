// The start-up code: chooses the platform, hands WinMain the command line
// after the program name, and turns every failure into one line.

#include "Message_Pump.h"
#include "Sdl_Backend.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

namespace {

constexpr const char* Module_File = "tekno.xm";

// The data comes first: without it there is nothing to show, and saying how
// to make it helps more than any later failure would.
bool Data_Present() {
    std::error_code error;
    if (std::filesystem::exists(Module_File, error))
        return true;
    std::string here = std::filesystem::current_path(error).string();
    std::fprintf(stderr,
                 "zizo: %s is missing: it was looked for in %s; make the data with Tools/demo.sh, or run "
                 "zizo-data DIR and start zizo inside DIR\n",
                 Module_File, here.c_str());
    return false;
}

}

int main(int argc, char** argv) {
    if (!Data_Present())
        return 1;
    std::unique_ptr<Platform::Sdl_Backend> backend;
    try {
        backend = std::make_unique<Platform::Sdl_Backend>();
    } catch (const std::exception& failure) {
        std::fprintf(stderr,
                     "zizo: no display could be opened (%s); zizo-capture renders the show without one\n",
                     failure.what());
        return 1;
    }
    Platform::Use_Backend(backend.get());

    std::string command_line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1)
            command_line += ' ';
        command_line += argv[i];
    }
    int code = 1;
    try {
        code = WinMain(nullptr, nullptr, command_line.c_str(), 1);
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "zizo: %s\n", failure.what());
    } catch (...) {
        std::fprintf(stderr, "zizo: stopped by an unknown failure\n");
    }
    Platform::Use_Backend(nullptr);
    return code;
}
