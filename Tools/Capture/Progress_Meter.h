#pragma once

// How far the capture has come, on stderr: a bar redrawn in place when
// stderr is a terminal, otherwise one line at the end.

#include "Frame_Sink.h"

#include <chrono>
#include <cstdio>

class Progress_Meter : public Frame_Sink {
public:
    Progress_Meter(std::FILE* stream, bool terminal, uint64_t frame_limit);
    void frame(const Shown_Frame& frame) override;
    void finish() override;

private:
    using Clock = std::chrono::steady_clock;
    double elapsed() const;
    void draw_bar();

    std::FILE* m_stream;
    bool m_terminal;
    uint64_t m_frame_limit;
    Clock::time_point m_start = Clock::now();
    Clock::time_point m_last_drawn{};
    uint64_t m_frames = 0;
    double m_show_seconds = 0;
    double m_fraction = 0;
};
