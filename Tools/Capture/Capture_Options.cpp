#include "Capture_Options.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

const char* const Capture_Usage =
    "usage: zizo-capture [OPTIONS] [VIDEO.mp4]\n"
    "\n"
    "Plays the show offline, frame by frame as a display at the frame rate shows it,\n"
    "with the module's sound sample for sample, and writes what is asked for.\n"
    "Two runs give the same frames and samples. The show ends when the music\n"
    "reaches order 36; frame 0 is the letterbox picture shown while it loads.\n"
    "\n"
    "Outputs (at least one, or --null):\n"
    "  VIDEO.mp4            H.264 (yuv420p) and AAC through ffmpeg (apt-get install ffmpeg)\n"
    "  --y4m FILE           uncompressed video, YUV4MPEG2 4:4:4, needs no other program\n"
    "  --wav FILE           uncompressed sound, 16-bit stereo 44100 Hz\n"
    "  --still SECONDS      PNG of the frame shown at that time, named still-SECONDS.png\n"
    "                       (for example still-12.500s.png); may be repeated\n"
    "  --still-at ORDER:ROW PNG of the first frame drawn while that row of the music\n"
    "                       plays, named still-ORDER-ROW.png (still-22-00.png); may be repeated\n"
    "  --still-dir DIR      where stills go (default: the current directory)\n"
    "  --sheet FILE.png     contact sheet of 36 evenly spaced frames with their times\n"
    "  --null               render and discard everything (timing, tests)\n"
    "\n"
    "Settings:\n"
    "  --data DIR           directory holding tekno.xm, texture/ and tekstit/ as made by\n"
    "                       zizo-data (default: the current directory)\n"
    "  --frames N           stop after N frames\n"
    "  --fps N              frames per second of the display (default 60)\n"
    "  --scale N            video pixels per show pixel, nearest neighbour (default 2,\n"
    "                       1280x960); stills are always the show's 640x480\n"
    "  --help               this text\n"
    "\n"
    "Progress goes to stderr. Exit code 0 when the show has ended (or N frames are\n"
    "done), 1 on any failure with one line saying why, 2 for a wrong command line.\n";

namespace {

long Whole_Number(const std::string& option, const std::string& text, long low, long high) {
    char* end = nullptr;
    long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || value < low || value > high)
        throw Usage_Error(option + " wants a whole number from " + std::to_string(low) + " to " +
                          std::to_string(high) + ", not \"" + text + "\"");
    return value;
}

Still_Request Still_At_Seconds(const std::string& text) {
    char* end = nullptr;
    double seconds = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !std::isfinite(seconds) || seconds < 0)
        throw Usage_Error("--still wants a time in seconds, 0 or more, not \"" + text + "\"");
    char name[64];
    std::snprintf(name, sizeof name, "still-%.3fs.png", seconds);
    return Still_Request{false, seconds, 0, 0, name};
}

Still_Request Still_At_Row(const std::string& text) {
    size_t colon = text.find(':');
    if (colon == std::string::npos)
        throw Usage_Error("--still-at wants ORDER:ROW, for example 22:0, not \"" + text + "\"");
    int order = int(Whole_Number("--still-at's order", text.substr(0, colon), 0, 255));
    int row = int(Whole_Number("--still-at's row", text.substr(colon + 1), 0, 255));
    char name[64];
    std::snprintf(name, sizeof name, "still-%02d-%02d.png", order, row);
    return Still_Request{true, 0, order, row, name};
}

bool Ends_With(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}

Capture_Options Parse_Capture_Options(const std::vector<std::string>& arguments) {
    Capture_Options options;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= arguments.size())
                throw Usage_Error(argument + " needs a value");
            return arguments[++i];
        };
        if (argument == "--help" || argument == "-h")
            options.help = true;
        else if (argument == "--null")
            options.discard = true;
        else if (argument == "--y4m")
            options.y4m = value();
        else if (argument == "--wav")
            options.wav = value();
        else if (argument == "--sheet")
            options.sheet = value();
        else if (argument == "--still")
            options.stills.push_back(Still_At_Seconds(value()));
        else if (argument == "--still-at")
            options.stills.push_back(Still_At_Row(value()));
        else if (argument == "--still-dir")
            options.still_directory = value();
        else if (argument == "--data")
            options.data_directory = value();
        else if (argument == "--frames")
            options.frames = uint64_t(Whole_Number(argument, value(), 1, 100000000));
        else if (argument == "--fps")
            options.frames_per_second = int(Whole_Number(argument, value(), 1, 1000));
        else if (argument == "--scale")
            options.scale = int(Whole_Number(argument, value(), 1, 8));
        else if (argument.size() > 1 && argument[0] == '-')
            throw Usage_Error("unknown option " + argument + " (see --help)");
        else if (!options.mp4.empty())
            throw Usage_Error("one video at a time: " + options.mp4 + " and " + argument);
        else if (!Ends_With(argument, ".mp4"))
            throw Usage_Error("the video's name must end in .mp4 (for other formats, --y4m and --wav): " +
                              argument);
        else
            options.mp4 = argument;
    }
    if (options.help)
        return options;
    bool has_output = !options.mp4.empty() || !options.y4m.empty() || !options.wav.empty() ||
                      !options.sheet.empty() || !options.stills.empty();
    if (options.discard && has_output)
        throw Usage_Error("--null writes nothing, so it takes no outputs");
    if (!options.discard && !has_output)
        throw Usage_Error("nothing to write: name a VIDEO.mp4, --y4m, --wav, --still, --sheet, or --null");
    return options;
}
