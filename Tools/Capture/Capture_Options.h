#pragma once

// The command line of zizo-capture.

#include "Still_Pictures.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

struct Capture_Options {
    std::string mp4;
    std::string y4m;
    std::string wav;
    std::string sheet;
    std::string still_directory = ".";
    std::string data_directory = ".";
    std::vector<Still_Request> stills; // paths still relative to still_directory
    bool discard = false;
    bool help = false;
    uint64_t frames = 0;
    int frames_per_second = 60;
    int scale = 2;
};

// A command line that cannot be run; the message says why.
struct Usage_Error : std::runtime_error {
    using std::runtime_error::runtime_error;
};

Capture_Options Parse_Capture_Options(const std::vector<std::string>& arguments);

extern const char* const Capture_Usage;
