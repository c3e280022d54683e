#include "Virtual_Backend.h"

#include <algorithm>

namespace Platform {

Virtual_Display::Virtual_Display(Virtual_Backend& owner) : m_owner(owner) {}

Virtual_Display::~Virtual_Display() {
    if (m_owner.m_display == this)
        m_owner.m_display = nullptr;
}

int Virtual_Display::set_cooperative_level(Window) { return 0; }

int Virtual_Display::set_display_mode(int mode_width, int mode_height, int mode_bits) {
    if (mode_bits == 32 && m_owner.display_config.refuse_32_bits)
        return 1;
    if (mode_bits != 16 && mode_bits != 32)
        return 1;
    width = mode_width;
    height = mode_height;
    bits = mode_bits;
    return 0;
}

int Virtual_Display::create_primary_surface(int) {
    pitch = width * (bits / 8) + m_owner.display_config.extra_pitch_bytes;
    back_buffer.assign(size_t(pitch) * height, Padding_Byte);
    front_buffer = back_buffer;
    return 0;
}

int Virtual_Display::find_back_buffer() { return 0; }

int Virtual_Display::surface_bits() { return bits; }

int Virtual_Display::lock_back_buffer(void** pixels, int* surface_pitch) {
    ++locks;
    if (m_owner.display_config.failing_locks > 0) {
        --m_owner.display_config.failing_locks;
        return 1;
    }
    m_locked = true;
    *pixels = back_buffer.data();
    *surface_pitch = pitch;
    return 0;
}

int Virtual_Display::unlock_back_buffer() {
    m_locked = false;
    return 0;
}

int Virtual_Display::flip() {
    int result = 0;
    if (m_owner.display_config.fail_flips || m_locked) {
        result = 1;
    } else {
        front_buffer = back_buffer;
        ++flips;
    }
    m_owner.frame_presented(*this);
    return result;
}

bool Virtual_Sound::init(int device, int frequency, Window) {
    calls.push_back("init " + std::to_string(device) + " " + std::to_string(frequency));
    return !(refuse_device && device != No_Sound_Device);
}

void Virtual_Sound::set_volume(int volume) { calls.push_back("set_volume " + std::to_string(volume)); }

void Virtual_Sound::start() { calls.push_back("start"); }

uint32_t Virtual_Sound::load_module(const char* file_name, std::string* reason) {
    calls.push_back(std::string("load ") + file_name);
    if (position_script)
        return Module_Handle;
    m_player = Module_Player::load(file_name, reason);
    m_playing = false;
    return m_player ? Module_Handle : 0;
}

bool Virtual_Sound::play(uint32_t module) {
    calls.push_back("play");
    if (module != Module_Handle || refuse_play || !(position_script || m_player))
        return false;
    m_playing = true;
    return true;
}

void Virtual_Sound::stop_channel(uint32_t) {
    calls.push_back("stop_channel");
    m_playing = false;
}

uint32_t Virtual_Sound::position(uint32_t module) {
    if (module != Module_Handle)
        return 0xFFFFFFFF;
    if (position_script)
        return position_script();
    if (!m_player)
        return 0xFFFFFFFF;
    Module_Row now = m_player->row_at(m_player->rendered());
    return uint32_t(now.order) | (uint32_t(now.row) << 16);
}

uint32_t Virtual_Sound::set_sync(uint32_t, uint32_t, uint32_t, Sync_Proc, void*) {
    calls.push_back("set_sync");
    return 0;
}

bool Virtual_Sound::play_from(uint32_t module, uint32_t position, uint32_t, bool) {
    calls.push_back("play_from");
    if (module != Module_Handle || position_script || !m_player)
        return false;
    if (!m_player->seek(int(position & 0xFFFF), int(position >> 16)))
        return false;
    m_playing = true;
    return true;
}

void Virtual_Sound::stop_device() { calls.push_back("stop_device"); }

void Virtual_Sound::free_module(uint32_t) {
    calls.push_back("free_module");
    m_player.reset();
    m_playing = false;
}

void Virtual_Sound::frame_presented(int frames_per_second) {
    m_rate_remainder += Module_Player::Sample_Rate;
    size_t frames = size_t(m_rate_remainder / uint64_t(frames_per_second));
    m_rate_remainder %= uint64_t(frames_per_second);
    m_frame_samples.resize(2 * frames);
    if (m_playing && m_player)
        m_player->render(m_frame_samples.data(), frames);
    else
        std::fill(m_frame_samples.begin(), m_frame_samples.end(), int16_t(0));
    if (on_samples)
        on_samples(m_frame_samples.data(), frames);
}

void Virtual_Sound::free_device() { calls.push_back("free_device"); }

Window Virtual_Backend::create_window(const char* class_name, const char* title, int width, int height,
                                      Window_Proc proc) {
    window_class = class_name;
    window_title = title;
    window_width = width;
    window_height = height;
    m_proc = proc;
    return &m_window_token;
}

void Virtual_Backend::show_window(Window) { window_shown = true; }

bool Virtual_Backend::peek_message(Message* message) {
    if (m_messages.empty())
        return false;
    *message = m_messages.front();
    return true;
}

int Virtual_Backend::get_message(Message* message) {
    if (m_messages.empty())
        return -1;
    *message = m_messages.front();
    m_messages.pop_front();
    return message->message == Msg_Quit ? 0 : 1;
}

void Virtual_Backend::translate_message(const Message*) {}

intptr_t Virtual_Backend::dispatch_message(const Message* message) {
    if (!m_proc)
        return 0;
    return m_proc(message->window, message->message, message->wparam, message->lparam);
}

intptr_t Virtual_Backend::default_window_proc(Window window, uint32_t message, uintptr_t, intptr_t) {
    if (message == Msg_Close && !window_destroyed) {
        // Closing the window ends the show through the quit path, code 0.
        window_destroyed = true;
        if (m_proc)
            m_proc(window, Msg_Destroy, 0, 0);
        post_quit_message(0);
    }
    return 0;
}

int16_t Virtual_Backend::async_key_state(int key) {
    if (key != Key_Escape)
        return 0;
    int state = (m_escape_down ? 0x8000 : 0) | (m_escape_pressed ? 1 : 0);
    m_escape_pressed = false;
    return int16_t(state);
}

void Virtual_Backend::post_quit_message(int code) {
    m_messages.push_back(Message{&m_window_token, Msg_Quit, uintptr_t(code), 0});
}

void Virtual_Backend::show_cursor(bool show) { cursor_shown = show; }

uint32_t Virtual_Backend::milliseconds() {
    return m_base_milliseconds + uint32_t(m_frames_since_base * 1000 / uint64_t(m_frames_per_second));
}

std::unique_ptr<Display> Virtual_Backend::create_display() {
    auto display = std::make_unique<Virtual_Display>(*this);
    m_display = display.get();
    return display;
}

Sound& Virtual_Backend::sound() { return m_sound; }

void Virtual_Backend::post_message(uint32_t message, uintptr_t wparam, intptr_t lparam) {
    m_messages.push_back(Message{&m_window_token, message, wparam, lparam});
}

void Virtual_Backend::press_escape() { m_escape_pressed = true; }

void Virtual_Backend::set_escape_down(bool down) {
    if (down && !m_escape_down)
        m_escape_pressed = true;
    m_escape_down = down;
}

void Virtual_Backend::set_milliseconds(uint32_t milliseconds) {
    m_base_milliseconds = milliseconds;
    m_frames_since_base = 0;
}

void Virtual_Backend::set_frame_rate(int frames_per_second) {
    set_milliseconds(milliseconds());
    m_frames_per_second = frames_per_second;
}

void Virtual_Backend::frame_presented(Virtual_Display& display) {
    ++m_frames_since_base;
    ++m_frames_total;
    m_sound.frame_presented(m_frames_per_second);
    if (on_flip)
        on_flip(display);
}

}
