#pragma once

// The sound device of the real program: libopenmpt renders the module into
// the default SDL audio device on SDL's audio thread, or, with the no-sound
// device, silently on the caller's thread as real time passes. The position
// is the row the listener hears now, not the row last rendered.

#include "Module_Player.h"
#include "Platform.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace Platform {

// Which module sample leaves the speaker at a given time, from what the
// audio callback last rendered and when. The device's pipeline holds the
// chunk just rendered behind the one playing, so right after a callback the
// heard sample is two chunks behind the rendered count; it moves on with
// time until the next callback, never past one chunk behind, never back.
class Heard_Sample {
public:
    explicit Heard_Sample(uint32_t chunk_frames) : m_chunk(chunk_frames) {}
    void rendered(uint64_t total, double seconds);
    uint64_t at(double seconds);

private:
    uint32_t m_chunk;
    uint64_t m_rendered = 0;
    double m_seconds = 0.0;
    uint64_t m_heard = 0;
};

class Sdl_Sound : public Sound {
public:
    // `seconds` is a monotonic clock: the no-sound device advances with it,
    // and the audio callback is dated by it.
    explicit Sdl_Sound(std::function<double()> seconds);
    ~Sdl_Sound() override;

    bool init(int device, int frequency, Window window) override;
    void set_volume(int volume) override;
    void start() override;
    uint32_t load_module(const char* file_name, std::string* reason) override;
    bool play(uint32_t module) override;
    void stop_channel(uint32_t module) override;
    uint32_t position(uint32_t module) override;
    uint32_t set_sync(uint32_t module, uint32_t type, uint32_t parameter, Sync_Proc proc,
                      void* user) override;
    bool play_from(uint32_t module, uint32_t position, uint32_t flags, bool reset) override;
    void stop_device() override;
    void free_module(uint32_t module) override;
    void free_device() override;

private:
    static void Fill(void* self, uint8_t* stream, int bytes);
    void fill(int16_t* stereo, size_t frames);
    void start_silent_run();
    void advance_silently();

    static constexpr uint32_t Module_Handle = 1;
    std::function<double()> m_seconds;
    std::mutex m_lock; // the module is used from one thread at a time
    uint32_t m_device = 0;
    bool m_no_sound = false;
    bool m_initialised = false;
    int m_volume = 100;
    std::unique_ptr<Module_Player> m_player;
    bool m_playing = false;
    uint32_t m_chunk_frames = 0;
    std::unique_ptr<Heard_Sample> m_heard;
    // No-sound device: the samples rendered when the current run began, and
    // the clock reading then.
    uint64_t m_silent_base = 0;
    double m_silent_since = 0.0;
    std::vector<int16_t> m_scratch;
};

}
