#include "Mp4_Video.h"

#include "Child_Process.h"
#include "Output_Check.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <stdexcept>
#include <unistd.h>
#include <vector>

namespace {

std::string Work_File(const std::string& directory, const char* name) { return directory + "/" + name; }

}

Mp4_Video::Mp4_Video(std::string path, int scale) : m_path(std::move(path)) {
    if (!Is_On_Path("ffmpeg"))
        throw std::runtime_error("ffmpeg is not on PATH, so no MP4 can be made (apt-get install ffmpeg); "
                                 "--y4m FILE --wav FILE write uncompressed video and sound without it");
    Check_Writable_File(m_path);
    // The work files sit beside the output: a whole show is large for /tmp.
    std::string pattern = m_path + ".work-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (::mkdtemp(name.data()) == nullptr)
        throw std::runtime_error("cannot make a work directory beside " + m_path + ": " +
                                 std::strerror(errno));
    m_work_directory = name.data();

    // A constructor that throws runs no destructor: undo by hand.
    try {
        start_encoder(scale);
        m_sound = std::make_unique<Wav_Sound>(Work_File(m_work_directory, "sound.wav"));
    } catch (...) {
        if (m_encoder > 0)
            stop_encoder();
        std::error_code ignored;
        std::filesystem::remove_all(m_work_directory, ignored);
        throw;
    }
}

void Mp4_Video::start_encoder(int scale) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        throw std::runtime_error(std::string("cannot make a pipe to ffmpeg: ") + std::strerror(errno));
    try {
        m_encoder = Start_Process({"ffmpeg",       "-hide_banner", "-nostdin",
                                   "-loglevel",    "error",        "-y",
                                   "-f",           "yuv4mpegpipe", "-i",
                                   "pipe:0",       "-c:v",         "libx264",
                                   "-preset",      "fast",         "-crf",
                                   "18",           "-pix_fmt",     "yuv420p",
                                   "-colorspace",  "bt709",        "-color_primaries",
                                   "bt709",        "-color_trc",   "bt709",
                                   "-color_range", "tv",           Work_File(m_work_directory, "video.mkv")},
                                  fds[0], Work_File(m_work_directory, "encode.log"));
    } catch (...) {
        ::close(fds[0]);
        ::close(fds[1]);
        throw;
    }
    ::close(fds[0]);
    m_pipe = ::fdopen(fds[1], "wb");
    if (m_pipe == nullptr) {
        ::close(fds[1]);
        throw std::runtime_error(std::string("cannot write to ffmpeg: ") + std::strerror(errno));
    }
    m_video = std::make_unique<Y4m_Video>(m_pipe, "the video to ffmpeg", scale);
}

Mp4_Video::~Mp4_Video() {
    if (m_encoder > 0)
        stop_encoder();
    m_sound.reset();
    std::error_code ignored;
    std::filesystem::remove_all(m_work_directory, ignored);
}

int Mp4_Video::stop_encoder() {
    if (m_pipe != nullptr)
        std::fclose(m_pipe);
    m_pipe = nullptr;
    int code = Wait_For_Process(m_encoder);
    m_encoder = -1;
    return code;
}

void Mp4_Video::ffmpeg_failed(const char* step, int code) {
    std::string reason = Last_Line(Work_File(m_work_directory, step));
    throw std::runtime_error("ffmpeg failed (exit code " + std::to_string(code) + ")" +
                             (reason.empty() ? std::string() : ": " + reason));
}

void Mp4_Video::frame(const Shown_Frame& frame) {
    try {
        m_video->frame(frame);
    } catch (const std::runtime_error&) {
        // A broken pipe means ffmpeg has stopped; its own words say why.
        ffmpeg_failed("encode.log", stop_encoder());
    }
    m_sound->frame(frame);
}

void Mp4_Video::finish() {
    m_video->finish();
    int code = stop_encoder();
    if (code != 0)
        ffmpeg_failed("encode.log", code);
    m_sound->finish();
    pid_t muxer = Start_Process({"ffmpeg",    "-hide_banner",
                                 "-nostdin",  "-loglevel",
                                 "error",     "-y",
                                 "-i",        Work_File(m_work_directory, "video.mkv"),
                                 "-i",        Work_File(m_work_directory, "sound.wav"),
                                 "-map",      "0:v:0",
                                 "-map",      "1:a:0",
                                 "-c:v",      "copy",
                                 "-c:a",      "aac",
                                 "-b:a",      "192k",
                                 "-movflags", "+faststart",
                                 m_path},
                                -1, Work_File(m_work_directory, "join.log"));
    code = Wait_For_Process(muxer);
    if (code != 0) {
        std::error_code ignored;
        std::filesystem::remove(m_path, ignored);
        ffmpeg_failed("join.log", code);
    }
}
