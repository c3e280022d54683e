#pragma once

#include "Platform.h"

#include <cstdint>

using Sync_Proc = Platform::Sync_Proc;

// An order and a row of the module.
class Music_Position {
public:
    Music_Position(int order, int row) : m_order(order), m_row(row) {}
    virtual ~Music_Position();
    virtual int row() const;

    int m_order;
    int m_row;
};

// The playing module: the show's clock for scenes and events.
class Music {
public:
    static Music* instance();
    virtual ~Music();
    virtual void play() = 0;
    virtual void stop() = 0;
    virtual int order() = 0;
    virtual int row() = 0;
    virtual float not_implemented() = 0;
    virtual int set_sync(Sync_Proc proc) = 0;
    virtual int play_from(int order, int row) = 0;
    // The row after the one playing, in patterns taken to be 64 rows long.
    virtual Music_Position position() = 0;
};

// One tracker module on the platform's sound device.
class Module_Music : public Music {
public:
    Module_Music(const char* file, Platform::Window hwnd, bool nosound);
    ~Module_Music() override;

    void play() override;
    void stop() override;
    int order() override;
    int row() override;
    float not_implemented() override;
    int set_sync(Sync_Proc proc) override;
    int play_from(int order, int row) override;
    Music_Position position() override;

private:
    friend class Music;
    void release_device();

    uint32_t m_mod;
    static Music* s_music;
};
