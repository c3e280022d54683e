#pragma once

// The backend of the real program, over SDL2: one borderless window that
// fills the desktop (ZIZO_WINDOWED=1: a resizable 640x480 window; Alt+Enter
// switches between the two), SDL's events turned into the window messages
// the demo pumps, a monotonic millisecond clock, the display of
// Sdl_Display and the sound of Sdl_Sound. SIGINT and SIGTERM post a quit
// message with the code 128 + the signal.

#include "Platform.h"
#include "Sdl_Sound.h"

#include <deque>
#include <memory>

struct SDL_Window;
union SDL_Event;

namespace Platform {

class Sdl_Backend : public Backend {
public:
    // Throws std::runtime_error with SDL's reason when no display can be opened.
    Sdl_Backend();
    ~Sdl_Backend() override;

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

    // Seconds on the monotonic clock behind milliseconds().
    static double Seconds();

private:
    void pump_events();
    void handle(const SDL_Event& event);
    void post(uint32_t message, uintptr_t wparam, intptr_t lparam);

    SDL_Window* m_window = nullptr;
    Window_Proc m_proc = nullptr;
    std::deque<Message> m_messages;
    bool m_escape_down = false;
    bool m_escape_pressed = false;
    bool m_signal_seen = false;
    Sdl_Sound m_sound;
};

}
