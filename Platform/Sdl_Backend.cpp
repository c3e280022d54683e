#include "Sdl_Backend.h"

#include "Sdl_Display.h"
#include "Sdl_Hush.h"

#include <SDL2/SDL.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

namespace Platform {

namespace {

// Written by the signal handler, read by the message functions: a handler
// may do no more than set a flag.
std::atomic<int> s_signal{0};
static_assert(std::atomic<int>::is_always_lock_free);

void On_Signal(int number) { s_signal.store(number); }

struct sigaction s_previous_int, s_previous_term;

// The scenes keep clock readings in 32-bit floats, which hold milliseconds
// since the machine booted only to a fraction of a second after a few days:
// the clock counts from the program's start instead.
const std::chrono::steady_clock::time_point s_clock_start = std::chrono::steady_clock::now();

constexpr intptr_t Alt_Down = intptr_t(1) << 29; // the key message's context bit

bool Windowed_Requested() {
    const char* windowed = std::getenv("ZIZO_WINDOWED");
    return windowed && std::strcmp(windowed, "1") == 0;
}

// The virtual key code of an SDL key, or 0 for keys the demo has no use for.
uintptr_t Virtual_Key(SDL_Keycode key) {
    if (key == SDLK_ESCAPE)
        return Key_Escape;
    if (key == SDLK_RETURN || key == SDLK_KP_ENTER)
        return Key_Return;
    if (key >= SDLK_a && key <= SDLK_z)
        return uintptr_t('A' + (key - SDLK_a));
    if (key >= SDLK_0 && key <= SDLK_9)
        return uintptr_t(key);
    return 0;
}

}

Sdl_Backend::Sdl_Backend() : m_sound(Seconds) {
    // Our own handlers turn SIGINT and SIGTERM into quit messages.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    bool started;
    {
        Sdl_Hush hush;
        started = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
    }
    if (!started)
        throw std::runtime_error(SDL_GetError());
    // Without a display SDL falls back to drawing off screen, which shows
    // nothing; that and the dummy driver are for those who ask for them.
    std::string driver = SDL_GetCurrentVideoDriver();
    // X11 takes the window class when video starts, and the class is known
    // only when the window is made: video starts again then.
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    if ((driver == "offscreen" || driver == "dummy") && !std::getenv("SDL_VIDEODRIVER"))
        throw std::runtime_error("no video device was found");
    struct sigaction action {};
    action.sa_handler = On_Signal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &s_previous_int);
    sigaction(SIGTERM, &action, &s_previous_term);
}

Sdl_Backend::~Sdl_Backend() {
    m_sound.free_device();
    if (m_window)
        SDL_DestroyWindow(m_window);
    SDL_Quit();
    sigaction(SIGINT, &s_previous_int, nullptr);
    sigaction(SIGTERM, &s_previous_term, nullptr);
}

Window Sdl_Backend::create_window(const char* class_name, const char* title, int width, int height,
                                  Window_Proc proc) {
    setenv("SDL_VIDEO_X11_WMCLASS", class_name, 1);
    {
        Sdl_Hush hush;
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
            return nullptr;
    }
    uint32_t flags = SDL_WINDOW_HIDDEN;
    flags |= Windowed_Requested() ? SDL_WINDOW_RESIZABLE : SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_BORDERLESS;
    m_window = SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height, flags);
    m_proc = proc;
    return m_window;
}

void Sdl_Backend::show_window(Window window) {
    SDL_Window* shown = static_cast<SDL_Window*>(window);
    if (!shown)
        return;
    SDL_ShowWindow(shown);
    SDL_RaiseWindow(shown);
}

bool Sdl_Backend::peek_message(Message* message) {
    pump_events();
    if (m_messages.empty())
        return false;
    *message = m_messages.front();
    return true;
}

int Sdl_Backend::get_message(Message* message) {
    pump_events();
    while (m_messages.empty()) {
        SDL_Event event;
        if (SDL_WaitEventTimeout(&event, 10))
            handle(event);
        pump_events();
    }
    *message = m_messages.front();
    m_messages.pop_front();
    return message->message == Msg_Quit ? 0 : 1;
}

void Sdl_Backend::translate_message(const Message*) {}

intptr_t Sdl_Backend::dispatch_message(const Message* message) {
    if (!m_proc)
        return 0;
    return m_proc(message->window, message->message, message->wparam, message->lparam);
}

intptr_t Sdl_Backend::default_window_proc(Window window, uint32_t message, uintptr_t wparam, intptr_t) {
    SDL_Window* target = static_cast<SDL_Window*>(window);
    if (message == Msg_Close && target && SDL_GetWindowFlags(target) & SDL_WINDOW_SHOWN) {
        // Closing ends the show through the quit path, code 0; the window
        // goes at once, though the display uses it until the show ends.
        SDL_HideWindow(target);
        if (m_proc)
            m_proc(window, Msg_Destroy, 0, 0);
        post_quit_message(0);
    } else if (message == Msg_Sys_Key_Down && wparam == Key_Return && target) {
        bool full_screen = SDL_GetWindowFlags(target) & SDL_WINDOW_FULLSCREEN_DESKTOP;
        SDL_SetWindowFullscreen(target, full_screen ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
        SDL_SetWindowBordered(target, full_screen ? SDL_TRUE : SDL_FALSE);
        SDL_SetWindowResizable(target, SDL_TRUE);
    }
    return 0;
}

int16_t Sdl_Backend::async_key_state(int key) {
    pump_events();
    if (key != Key_Escape)
        return 0;
    int state = (m_escape_down ? 0x8000 : 0) | (m_escape_pressed ? 1 : 0);
    m_escape_pressed = false;
    return int16_t(state);
}

void Sdl_Backend::post_quit_message(int code) { post(Msg_Quit, uintptr_t(code), 0); }

void Sdl_Backend::show_cursor(bool show) { SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE); }

double Sdl_Backend::Seconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

uint32_t Sdl_Backend::milliseconds() {
    auto since = std::chrono::steady_clock::now() - s_clock_start;
    return uint32_t(std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

std::unique_ptr<Display> Sdl_Backend::create_display() { return std::make_unique<Sdl_Display>(m_window); }

Sound& Sdl_Backend::sound() { return m_sound; }

void Sdl_Backend::pump_events() {
    SDL_Event event;
    while (SDL_PollEvent(&event))
        handle(event);
    int number = s_signal.load();
    if (number != 0 && !m_signal_seen) {
        m_signal_seen = true;
        post_quit_message(128 + number);
    }
}

void Sdl_Backend::handle(const SDL_Event& event) {
    switch (event.type) {
    case SDL_QUIT:
        post(Msg_Close, 0, 0);
        break;
    case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_CLOSE)
            post(Msg_Close, 0, 0);
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        bool down = event.type == SDL_KEYDOWN;
        SDL_Keycode key = event.key.keysym.sym;
        if (key == SDLK_ESCAPE) {
            if (down && !m_escape_down)
                m_escape_pressed = true;
            m_escape_down = down;
        }
        uintptr_t code = Virtual_Key(key);
        if (code == 0 || event.key.repeat)
            break;
        bool alt = event.key.keysym.mod & KMOD_ALT;
        uint32_t message = down ? (alt ? Msg_Sys_Key_Down : Msg_Key_Down) : Msg_Key_Up;
        post(message, code, alt ? Alt_Down : 0);
        break;
    }
    default:
        break;
    }
}

void Sdl_Backend::post(uint32_t message, uintptr_t wparam, intptr_t lparam) {
    m_messages.push_back(Message{m_window, message, wparam, lparam});
}

}
