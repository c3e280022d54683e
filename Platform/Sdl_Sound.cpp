#include "Sdl_Sound.h"

#include "Sdl_Hush.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <cmath>

namespace Platform {

namespace {

constexpr uint16_t Chunk_Frames = 512; // about 12 ms a callback

uint32_t Position_Word(Module_Row row) { return uint32_t(row.order) | (uint32_t(row.row) << 16); }

}

void Heard_Sample::rendered(uint64_t total, double seconds) {
    m_rendered = total;
    m_seconds = seconds;
}

uint64_t Heard_Sample::at(double seconds) {
    double since = std::max(0.0, seconds - m_seconds);
    double estimate = double(m_rendered) - 2.0 * m_chunk + since * Module_Player::Sample_Rate;
    double newest = double(m_rendered) - double(m_chunk);
    estimate = std::min(estimate, newest);
    if (estimate > double(m_heard))
        m_heard = uint64_t(estimate);
    return m_heard;
}

Sdl_Sound::Sdl_Sound(std::function<double()> seconds) : m_seconds(std::move(seconds)) {}

Sdl_Sound::~Sdl_Sound() { free_device(); }

bool Sdl_Sound::init(int device, int, Window) {
    free_device();
    m_no_sound = device == No_Sound_Device;
    if (!m_no_sound) {
        Sdl_Hush hush;
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
            return false;
        SDL_AudioSpec wanted{};
        wanted.freq = Module_Player::Sample_Rate;
        wanted.format = AUDIO_S16SYS;
        wanted.channels = 2;
        wanted.samples = Chunk_Frames;
        wanted.callback = Fill;
        wanted.userdata = this;
        SDL_AudioSpec obtained{};
        // No changes allowed: SDL converts to whatever the hardware takes.
        m_device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
        if (m_device == 0) {
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
            return false;
        }
        m_chunk_frames = obtained.samples;
        m_heard = std::make_unique<Heard_Sample>(m_chunk_frames);
    }
    m_initialised = true;
    return true;
}

void Sdl_Sound::set_volume(int volume) {
    std::lock_guard<std::mutex> hold(m_lock);
    m_volume = std::clamp(volume, 0, 100);
}

void Sdl_Sound::start() {
    if (m_device != 0)
        SDL_PauseAudioDevice(m_device, 0);
}

uint32_t Sdl_Sound::load_module(const char* file_name, std::string* reason) {
    std::unique_ptr<Module_Player> player = Module_Player::load(file_name, reason);
    if (!player)
        return 0;
    std::lock_guard<std::mutex> hold(m_lock);
    m_player = std::move(player);
    m_playing = false;
    if (m_device != 0)
        m_heard = std::make_unique<Heard_Sample>(m_chunk_frames);
    return Module_Handle;
}

bool Sdl_Sound::play(uint32_t module) {
    std::lock_guard<std::mutex> hold(m_lock);
    if (module != Module_Handle || !m_player || !m_initialised)
        return false;
    if (!m_playing)
        start_silent_run();
    m_playing = true;
    return true;
}

void Sdl_Sound::stop_channel(uint32_t module) {
    std::lock_guard<std::mutex> hold(m_lock);
    if (module != Module_Handle || !m_playing)
        return;
    if (m_no_sound)
        advance_silently();
    m_playing = false;
}

uint32_t Sdl_Sound::position(uint32_t module) {
    std::lock_guard<std::mutex> hold(m_lock);
    if (module != Module_Handle || !m_player)
        return 0xFFFFFFFF;
    if (m_no_sound) {
        advance_silently();
        return Position_Word(m_player->row_at(m_player->rendered()));
    }
    if (!m_heard)
        return Position_Word(m_player->row_at(0));
    return Position_Word(m_player->row_at(m_heard->at(m_seconds())));
}

uint32_t Sdl_Sound::set_sync(uint32_t, uint32_t, uint32_t, Sync_Proc, void*) { return 0; }

bool Sdl_Sound::play_from(uint32_t module, uint32_t position, uint32_t, bool) {
    std::lock_guard<std::mutex> hold(m_lock);
    if (module != Module_Handle || !m_player || !m_initialised)
        return false;
    if (m_no_sound)
        advance_silently();
    if (!m_player->seek(int(position & 0xFFFF), int(position >> 16)))
        return false;
    start_silent_run();
    m_playing = true;
    return true;
}

void Sdl_Sound::stop_device() {
    if (m_device != 0)
        SDL_PauseAudioDevice(m_device, 1);
}

void Sdl_Sound::free_module(uint32_t module) {
    if (module != Module_Handle)
        return;
    std::lock_guard<std::mutex> hold(m_lock);
    m_player.reset();
    m_playing = false;
}

void Sdl_Sound::free_device() {
    if (m_device != 0) {
        SDL_CloseAudioDevice(m_device);
        m_device = 0;
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    m_heard.reset();
    m_initialised = false;
}

void Sdl_Sound::Fill(void* self, uint8_t* stream, int bytes) {
    static_cast<Sdl_Sound*>(self)->fill(reinterpret_cast<int16_t*>(stream), size_t(bytes) / 4);
}

void Sdl_Sound::fill(int16_t* stereo, size_t frames) {
    std::lock_guard<std::mutex> hold(m_lock);
    if (!m_playing || !m_player) {
        std::fill(stereo, stereo + 2 * frames, int16_t(0));
        return;
    }
    m_player->render(stereo, frames);
    if (m_volume < 100)
        for (size_t i = 0; i < 2 * frames; ++i)
            stereo[i] = int16_t(stereo[i] * m_volume / 100);
    if (m_heard)
        m_heard->rendered(m_player->rendered(), m_seconds());
}

void Sdl_Sound::start_silent_run() {
    m_silent_base = m_player->rendered();
    m_silent_since = m_seconds();
}

void Sdl_Sound::advance_silently() {
    if (!m_playing)
        return;
    double since = std::max(0.0, m_seconds() - m_silent_since);
    uint64_t target = m_silent_base + uint64_t(since * Module_Player::Sample_Rate);
    while (m_player->rendered() < target) {
        size_t frames = size_t(std::min<uint64_t>(target - m_player->rendered(), 4096));
        m_scratch.resize(2 * frames);
        m_player->render(m_scratch.data(), frames);
    }
}

}
