#include "Progress_Meter.h"

#include <algorithm>
#include <string>

namespace {

// The show ends when the music reaches this order, so the music's position
// tells how much of it is left.
constexpr int Closing_Order = 36;
constexpr int Rows_Per_Order = 64;

std::string Clock_Text(double seconds) {
    long whole = long(seconds);
    char text[32];
    std::snprintf(text, sizeof text, "%ld:%02ld", whole / 60, whole % 60);
    return text;
}

}

Progress_Meter::Progress_Meter(std::FILE* stream, bool terminal, uint64_t frame_limit)
    : m_stream(stream), m_terminal(terminal), m_frame_limit(frame_limit) {}

double Progress_Meter::elapsed() const {
    return std::chrono::duration<double>(Clock::now() - m_start).count();
}

void Progress_Meter::frame(const Shown_Frame& frame) {
    m_frames = frame.index + 1;
    m_show_seconds = double(m_frames) / frame.frames_per_second;
    if (m_frame_limit != 0)
        m_fraction = double(m_frames) / double(m_frame_limit);
    else if (frame.order >= 0)
        m_fraction = double(frame.order * Rows_Per_Order + frame.row) / (Closing_Order * Rows_Per_Order);
    m_fraction = std::clamp(m_fraction, 0.0, 1.0);
    if (m_terminal && Clock::now() - m_last_drawn > std::chrono::milliseconds(100)) {
        draw_bar();
        m_last_drawn = Clock::now();
    }
}

void Progress_Meter::draw_bar() {
    constexpr int Width = 30;
    std::string bar(size_t(m_fraction * Width), '#');
    bar.resize(Width, '.');
    double seconds = elapsed();
    double speed = seconds > 0 ? m_show_seconds / seconds : 0;
    std::string left = m_fraction > 0 ? Clock_Text(seconds * (1 - m_fraction) / m_fraction) : "?";
    std::fprintf(m_stream, "\r\033[K[%s] %llu frames  %s show  %.1fx real time  %s left", bar.c_str(),
                 static_cast<unsigned long long>(m_frames), Clock_Text(m_show_seconds).c_str(), speed,
                 left.c_str());
    std::fflush(m_stream);
}

void Progress_Meter::finish() {
    if (m_terminal) {
        draw_bar();
        std::fputc('\n', m_stream);
    }
    double seconds = elapsed();
    std::fprintf(m_stream, "zizo-capture: %llu frames, %.2f s of show in %.2f s (%.1fx real time)\n",
                 static_cast<unsigned long long>(m_frames), m_show_seconds, seconds,
                 seconds > 0 ? m_show_seconds / seconds : 0);
}
