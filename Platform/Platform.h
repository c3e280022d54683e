#pragma once

// The operations the demo needs from its surroundings: a window system, a
// flip-chain display, a millisecond clock and a module-playing sound device.
// Two backends implement them (Sdl_Backend for the real program,
// Virtual_Backend for tests and offline capture); a program chooses one at
// start with Use_Backend and never mixes them.

#include <cstdint>
#include <memory>
#include <string>

namespace Platform {

using Instance = void*;
using Window = void*;
using Window_Proc = intptr_t (*)(Window window, uint32_t message, uintptr_t wparam, intptr_t lparam);
using Sync_Proc = void (*)(uint32_t sync, uint32_t channel, uint32_t data, void* user);

// Message numbers keep the values of the system the demo was written for.
enum Message_Id : uint32_t {
    Msg_Destroy = 0x0002,
    Msg_Close = 0x0010,
    Msg_Quit = 0x0012,
    Msg_Key_Down = 0x0100,
    Msg_Key_Up = 0x0101,
    Msg_Sys_Key_Down = 0x0104,
};

constexpr int Key_Escape = 0x1B;
constexpr int Key_Return = 0x0D;

struct Message {
    Window window = nullptr;
    uint32_t message = 0;
    uintptr_t wparam = 0;
    intptr_t lparam = 0;
};

// A display with a primary surface and one back buffer. Results are 0 on
// success, as the demo expects of them.
class Display {
public:
    virtual ~Display();

    virtual int set_cooperative_level(Window window) = 0;
    virtual int set_display_mode(int width, int height, int bits) = 0;
    virtual int create_primary_surface(int back_buffer_count) = 0;
    virtual int find_back_buffer() = 0;
    // The surface's bits per pixel, or 0 when the surface does not say.
    virtual int surface_bits() = 0;
    virtual int lock_back_buffer(void** pixels, int* pitch) = 0;
    virtual int unlock_back_buffer() = 0;
    virtual int flip() = 0;
};

// A sound device that plays tracker modules. Module handles are non-zero.
class Sound {
public:
    virtual ~Sound();

    static constexpr int Default_Device = -1;
    static constexpr int No_Sound_Device = -2;

    virtual bool init(int device, int frequency, Window window) = 0;
    virtual void set_volume(int volume) = 0;
    virtual void start() = 0;
    // 0 when the file cannot be loaded, with the reason in *reason.
    virtual uint32_t load_module(const char* file_name, std::string* reason) = 0;
    virtual bool play(uint32_t module) = 0;
    virtual void stop_channel(uint32_t module) = 0;
    // The order heard now in the low 16 bits, the row in the high 16; all
    // ones when there is no such module.
    virtual uint32_t position(uint32_t module) = 0;
    virtual uint32_t set_sync(uint32_t module, uint32_t type, uint32_t parameter, Sync_Proc proc,
                              void* user) = 0;
    virtual bool play_from(uint32_t module, uint32_t position, uint32_t flags, bool reset) = 0;
    virtual void stop_device() = 0;
    virtual void free_module(uint32_t module) = 0;
    virtual void free_device() = 0;
};

class Backend {
public:
    virtual ~Backend();

    // Window system.
    virtual Window create_window(const char* class_name, const char* title, int width, int height,
                                 Window_Proc proc) = 0;
    virtual void show_window(Window window) = 0;
    virtual bool peek_message(Message* message) = 0;
    // 0 when the message taken is Msg_Quit.
    virtual int get_message(Message* message) = 0;
    virtual void translate_message(const Message* message) = 0;
    virtual intptr_t dispatch_message(const Message* message) = 0;
    virtual intptr_t default_window_proc(Window window, uint32_t message, uintptr_t wparam,
                                         intptr_t lparam) = 0;
    // Bit 15: the key is down now; bit 0: pressed since the previous query.
    virtual int16_t async_key_state(int key) = 0;
    virtual void post_quit_message(int code) = 0;
    virtual void show_cursor(bool show) = 0;

    // Clock: milliseconds, wrapping at 2^32.
    virtual uint32_t milliseconds() = 0;

    virtual std::unique_ptr<Display> create_display() = 0;
    virtual Sound& sound() = 0;
};

void Use_Backend(Backend* backend);
Backend& Current_Backend();

}
