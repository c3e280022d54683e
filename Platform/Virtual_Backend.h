#pragma once

// A backend with no window and no device, driven by its caller: messages and
// key presses are injected, the clock advances by exactly one frame period at
// every flip, the display is memory whose depth, pitch and failures the caller
// chooses, and the sound device either reports positions the caller scripts
// or plays a real module offline, in step with the clock.

#include "Module_Player.h"
#include "Platform.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace Platform {

class Virtual_Backend;

struct Virtual_Display_Config {
    bool refuse_32_bits = false;       // the 32-bit mode fails, 16 is taken
    int extra_pitch_bytes = 0;         // padding at the end of every surface row
    int failing_locks = 0;             // this many locks fail before they succeed again
    bool fail_flips = false;
};

class Virtual_Display : public Display {
public:
    explicit Virtual_Display(Virtual_Backend& owner);
    ~Virtual_Display() override;

    int set_cooperative_level(Window window) override;
    int set_display_mode(int width, int height, int bits) override;
    int create_primary_surface(int back_buffer_count) override;
    int find_back_buffer() override;
    int surface_bits() override;
    int lock_back_buffer(void** pixels, int* pitch) override;
    int unlock_back_buffer() override;
    int flip() override;

    static constexpr uint8_t Padding_Byte = 0xA5;

    int width = 0;
    int height = 0;
    int bits = 0;
    int pitch = 0;
    std::vector<uint8_t> back_buffer; // what the demo wrote at its last lock
    std::vector<uint8_t> front_buffer; // what the last successful flip shows
    int locks = 0;
    int flips = 0;

private:
    Virtual_Backend& m_owner;
    bool m_locked = false;
};

class Virtual_Sound : public Sound {
public:
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

    // Stands in for a playing module: each position query returns its result.
    // Without it, load_module loads the file and the module plays offline.
    std::function<uint32_t()> position_script;
    // The sound of every flip, handed over once the clock has advanced and
    // before on_flip runs: 44100 / frame rate interleaved 16-bit stereo
    // frames, the remainder carried to later flips so that none is lost;
    // the playing module, silence while none plays. The pointer is valid
    // for the call only.
    std::function<void(const int16_t* stereo, size_t frames)> on_samples;
    bool refuse_device = false;
    bool refuse_play = false;
    // Every call in order, for example "init -1 44100" or "load tekno.xm".
    std::vector<std::string> calls;

private:
    friend class Virtual_Backend;
    void frame_presented(int frames_per_second);

    static constexpr uint32_t Module_Handle = 1;
    std::unique_ptr<Module_Player> m_player;
    bool m_playing = false;
    uint64_t m_rate_remainder = 0;
    std::vector<int16_t> m_frame_samples;
};

class Virtual_Backend : public Backend {
public:
    Window create_window(const char* class_name, const char* title, int width, int height,
                         Window_Proc proc) override;
    void show_window(Window window) override;
    bool peek_message(Message* message) override;
    int get_message(Message* message) override;
    void translate_message(const Message* message) override;
    intptr_t dispatch_message(const Message* message) override;
    intptr_t default_window_proc(Window window, uint32_t message, uintptr_t wparam,
                                 intptr_t lparam) override;
    int16_t async_key_state(int key) override;
    void post_quit_message(int code) override;
    void show_cursor(bool show) override;
    uint32_t milliseconds() override;
    std::unique_ptr<Display> create_display() override;
    Sound& sound() override;

    // The caller's side.
    void post_message(uint32_t message, uintptr_t wparam = 0, intptr_t lparam = 0);
    void press_escape();           // down and up again before the next query
    void set_escape_down(bool down);
    void set_milliseconds(uint32_t milliseconds);
    void set_frame_rate(int frames_per_second);
    uint64_t frames() const { return m_frames_total; }
    size_t queued_messages() const { return m_messages.size(); }

    Virtual_Display* display() const { return m_display; }
    Virtual_Sound& virtual_sound() { return m_sound; }

    Virtual_Display_Config display_config;
    // Called after every flip, successful or not, once the clock has advanced.
    std::function<void(Virtual_Display&)> on_flip;

    std::string window_class;
    std::string window_title;
    int window_width = 0;
    int window_height = 0;
    bool window_shown = false;
    bool window_destroyed = false;
    bool cursor_shown = true;

private:
    friend class Virtual_Display;
    void frame_presented(Virtual_Display& display);

    Window_Proc m_proc = nullptr;
    std::deque<Message> m_messages;
    bool m_escape_down = false;
    bool m_escape_pressed = false;
    // The clock is a base plus whole frames, so that no rounding builds up.
    uint32_t m_base_milliseconds = 0;
    uint64_t m_frames_since_base = 0;
    uint64_t m_frames_total = 0;
    int m_frames_per_second = 60;
    Virtual_Display* m_display = nullptr;
    Virtual_Sound m_sound;
    char m_window_token = 0;
};

}
