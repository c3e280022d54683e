// zizo-capture: the show rendered offline to video, sound and stills; see
// Capture_Usage for the command line.

#include "Capture_Options.h"
#include "Contact_Sheet.h"
#include "Mp4_Video.h"
#include "Progress_Meter.h"
#include "Show_Capture.h"
#include "Still_Pictures.h"
#include "Wav_Sound.h"
#include "Y4m_Video.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <memory>
#include <unistd.h>

namespace {

// The outputs are named from where the program was started; the show then
// runs inside its data directory, as the demo does.
std::string Absolute(const std::string& path) { return std::filesystem::absolute(path).string(); }

struct File_Closer {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

int Capture(const Capture_Options& options) {
    std::vector<std::unique_ptr<Frame_Sink>> sinks;
    std::unique_ptr<std::FILE, File_Closer> y4m_file;
    if (!options.y4m.empty()) {
        y4m_file.reset(std::fopen(options.y4m.c_str(), "wb"));
        if (!y4m_file)
            throw std::runtime_error("cannot write " + options.y4m + ": " + std::strerror(errno));
        sinks.push_back(std::make_unique<Y4m_Video>(y4m_file.get(), options.y4m, options.scale));
    }
    if (!options.wav.empty())
        sinks.push_back(std::make_unique<Wav_Sound>(options.wav));
    if (!options.stills.empty()) {
        std::vector<Still_Request> stills = options.stills;
        for (Still_Request& still : stills)
            still.path = Absolute((std::filesystem::path(options.still_directory) / still.path).string());
        sinks.push_back(std::make_unique<Still_Pictures>(std::move(stills)));
    }
    if (!options.sheet.empty())
        sinks.push_back(std::make_unique<Contact_Sheet>(Absolute(options.sheet)));
    if (!options.mp4.empty())
        sinks.push_back(std::make_unique<Mp4_Video>(Absolute(options.mp4), options.scale));
    sinks.push_back(std::make_unique<Progress_Meter>(stderr, ::isatty(STDERR_FILENO) != 0, options.frames));

    std::filesystem::path module = std::filesystem::path(options.data_directory) / "tekno.xm";
    if (!std::filesystem::exists(module))
        throw std::runtime_error("no " + module.string() +
                                 ": make the data with zizo-data DIR and pass --data DIR");
    if (::chdir(options.data_directory.c_str()) != 0)
        throw std::runtime_error("cannot enter " + options.data_directory + ": " + std::strerror(errno));

    Capture_Settings settings;
    settings.frames_per_second = options.frames_per_second;
    settings.frame_limit = options.frames;
    int code = Capture_Show(settings, [&](const Shown_Frame& frame) {
        for (auto& sink : sinks)
            sink->frame(frame);
    });
    if (code != 0)
        throw std::runtime_error("the show stopped with exit code " + std::to_string(code));
    for (auto& sink : sinks)
        sink->finish();
    if (y4m_file && std::fclose(y4m_file.release()) != 0)
        throw std::runtime_error("cannot write " + options.y4m + ": " + std::strerror(errno));
    return 0;
}

}

int main(int argc, char** argv) {
    // A stopped ffmpeg must show up as a failed write, not end the program.
    std::signal(SIGPIPE, SIG_IGN);
    try {
        Capture_Options options = Parse_Capture_Options(std::vector<std::string>(argv + 1, argv + argc));
        if (options.help) {
            std::fputs(Capture_Usage, stdout);
            return 0;
        }
        return Capture(options);
    } catch (const Usage_Error& error) {
        std::fprintf(stderr, "zizo-capture: %s\n", error.what());
        return 2;
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "zizo-capture: %s\n", failure.what());
    } catch (...) {
        std::fprintf(stderr, "zizo-capture: stopped by an unknown failure\n");
    }
    return 1;
}
