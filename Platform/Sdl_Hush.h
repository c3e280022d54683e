#pragma once

// While SDL probes for video and audio drivers, the libraries behind the
// drivers it tries and rejects (ALSA, Wayland) print their own complaints;
// the program reports what matters in one line of its own, so the standard
// error stream is sent to /dev/null for the span of such a call.

#include <fcntl.h>
#include <unistd.h>

namespace Platform {

class Sdl_Hush {
public:
    Sdl_Hush() : m_saved(dup(STDERR_FILENO)) {
        int null = open("/dev/null", O_WRONLY);
        if (null >= 0) {
            dup2(null, STDERR_FILENO);
            close(null);
        }
    }
    ~Sdl_Hush() {
        if (m_saved >= 0) {
            dup2(m_saved, STDERR_FILENO);
            close(m_saved);
        }
    }
    Sdl_Hush(const Sdl_Hush&) = delete;
    Sdl_Hush& operator=(const Sdl_Hush&) = delete;

private:
    int m_saved;
};

}
