#include "Music.h"

#include "Throw_Assertion.h"

#include <string>

namespace {

constexpr const char* Source_File = "Music";

Platform::Sound& Device() { return Platform::Current_Backend().sound(); }

}

Music* Module_Music::s_music = nullptr;

Music* Music::instance() { return Module_Music::s_music; }

Music::~Music() {}

Music_Position::~Music_Position() {}

int Music_Position::row() const { return m_row; }

Module_Music::Module_Music(const char* file, Platform::Window hwnd, bool nosound) : m_mod(0) {
    if (s_music != nullptr)
        QEV_Lib::Throw_Assertion("s_music == 0", nullptr, Source_File, 0);
    s_music = this;
    // A failure below leaves the constructor without the destructor running,
    // so the device and the published pointer are released here.
    try {
        if (!Device().init(nosound ? Platform::Sound::No_Sound_Device : Platform::Sound::Default_Device,
                           44100, hwnd))
            QEV_Lib::Throw_Assertion("BASS_Init( nosound?-2:-1, 44100, 0, hwnd)",
                                     "no audio device could be opened; run with -nosound to play the "
                                     "show without sound",
                                     Source_File, 0);
        Device().set_volume(100);
        Device().start();
        std::string reason;
        m_mod = Device().load_module(file, &reason);
        if (m_mod == 0) {
            std::string message = std::string("cannot load the module ") + file + ": " + reason;
            QEV_Lib::Throw_Assertion("m_mod != 0", message.c_str(), Source_File, 0);
        }
    } catch (...) {
        release_device();
        throw;
    }
}

Module_Music::~Module_Music() { release_device(); }

void Module_Music::release_device() {
    Device().stop_device();
    if (m_mod != 0)
        Device().free_module(m_mod);
    Device().free_device();
    if (s_music == this)
        s_music = nullptr;
}

void Module_Music::play() {
    if (!Device().play(m_mod))
        QEV_Lib::Throw_Assertion("BASS_MusicPlay(m_mod)", nullptr, Source_File, 0);
}

void Module_Music::stop() { Device().stop_channel(m_mod); }

int Module_Music::order() { return int(Device().position(m_mod) & 0xFFFF); }

int Module_Music::row() { return int(Device().position(m_mod) >> 16); }

float Module_Music::not_implemented() {
    QEV_Lib::Throw_Assertion("!\"not implemented!\"", nullptr, Source_File, 0);
    return 0.0f;
}

int Module_Music::set_sync(Sync_Proc proc) {
    return int(Device().set_sync(m_mod, 0x40000000, 0xFFFFFFFF, proc, nullptr));
}

int Module_Music::play_from(int order, int row) {
    return Device().play_from(m_mod, uint32_t(order) | (uint32_t(row) << 16), 0, true) ? 1 : 0;
}

Music_Position Module_Music::position() {
    int o = order();
    int r = row() + 1;
    if (r >= 64) {
        r = 0;
        o = o + 1;
    }
    return Music_Position(o, r);
}
