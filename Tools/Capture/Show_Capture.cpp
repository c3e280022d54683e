#include "Show_Capture.h"

#include "Message_Pump.h"
#include "Music.h"
#include "Virtual_Backend.h"

#include <vector>

namespace {

// The frame loop lets the message pump peek once per frame, after the timer's
// reading and before the scene draws: the moment to note what is heard.
class Capture_Backend : public Platform::Virtual_Backend {
public:
    bool peek_message(Platform::Message* message) override {
        if (Music* music = Music::instance()) {
            order = music->order();
            row = music->row();
        }
        return Platform::Virtual_Backend::peek_message(message);
    }

    int order = -1;
    int row = -1;
};

struct Backend_In_Use {
    explicit Backend_In_Use(Platform::Backend* backend) { Platform::Use_Backend(backend); }
    ~Backend_In_Use() { Platform::Use_Backend(nullptr); }
};

}

int Capture_Show(const Capture_Settings& settings, const std::function<void(const Shown_Frame&)>& on_frame) {
    Capture_Backend backend;
    backend.set_frame_rate(settings.frames_per_second);
    std::vector<int16_t> samples;
    backend.virtual_sound().on_samples = [&](const int16_t* stereo, size_t frames) {
        samples.assign(stereo, stereo + 2 * frames);
    };
    backend.on_flip = [&](Platform::Virtual_Display& display) {
        Shown_Frame frame{backend.frames() - 1, settings.frames_per_second,
                          backend.order,        backend.row,
                          display.width,        display.height,
                          display.pitch,        display.front_buffer.data(),
                          samples.data(),       samples.size() / 2};
        on_frame(frame);
        samples.clear();
        // A quit message ends the loop at the pump of the next frame, before
        // anything more is drawn.
        if (settings.frame_limit != 0 && backend.frames() == settings.frame_limit)
            backend.post_quit_message(0);
    };
    Backend_In_Use in_use(&backend);
    return WinMain(nullptr, nullptr, "", 1);
}
