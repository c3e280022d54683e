#pragma once

// The show as a web-friendly MP4 (H.264 yuv420p and AAC) made by ffmpeg.
// The frames go to ffmpeg's input as they are drawn; the sound waits in a
// WAV file beside them and is joined to the video when the show has ended,
// so that ffmpeg never has to read two live streams in step.

#include "Frame_Sink.h"
#include "Wav_Sound.h"
#include "Y4m_Video.h"

#include <memory>
#include <string>
#include <sys/types.h>

class Mp4_Video : public Frame_Sink {
public:
    // Fails at once when ffmpeg is missing or the path cannot be written.
    Mp4_Video(std::string path, int scale);
    ~Mp4_Video() override;
    void frame(const Shown_Frame& frame) override;
    void finish() override;

private:
    void start_encoder(int scale);
    // Closes ffmpeg's input and returns its exit code.
    int stop_encoder();
    [[noreturn]] void ffmpeg_failed(const char* step, int code);

    std::string m_path;
    std::string m_work_directory;
    std::FILE* m_pipe = nullptr;
    pid_t m_encoder = -1;
    std::unique_ptr<Y4m_Video> m_video;
    std::unique_ptr<Wav_Sound> m_sound;
};
