#pragma once

// Uncompressed sound: a WAV file of 16-bit stereo PCM at 44100 Hz, every
// sample the virtual device handed out, silence before the music starts.

#include "Frame_Sink.h"

#include <cstdio>
#include <string>
#include <vector>

class Wav_Sound : public Frame_Sink {
public:
    static constexpr int Sample_Rate = 44100;

    // Creates the file now, so that an unwritable path fails before the show.
    explicit Wav_Sound(std::string path);
    ~Wav_Sound() override;
    void frame(const Shown_Frame& frame) override;
    void finish() override;

private:
    void write_header();
    void fail();

    std::string m_path;
    std::FILE* m_file;
    uint64_t m_sample_frames = 0;
    std::vector<uint8_t> m_bytes;
};
