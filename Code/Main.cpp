// The start-up code: chooses the platform, hands WinMain the command line
// after the program name, and turns every failure into one line.

#include "Message_Pump.h"
#include "Virtual_Backend.h"

#include <cstdio>
#include <exception>
#include <string>

int main(int argc, char** argv) {
    Platform::Virtual_Backend backend;
    Platform::Use_Backend(&backend);

    std::string command_line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1)
            command_line += ' ';
        command_line += argv[i];
    }
    try {
        return WinMain(nullptr, nullptr, command_line.c_str(), 1);
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "zizo: %s\n", failure.what());
    } catch (...) {
        std::fprintf(stderr, "zizo: stopped by an unknown failure\n");
    }
    return 1;
}
