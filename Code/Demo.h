#pragma once

#include "Callback.h"
#include "Holder.h"
#include "Music.h"
#include "Platform.h"
#include "Screen.h"
#include "Timer.h"

class Demo_Base {
public:
    virtual ~Demo_Base();
    virtual void run(QEV_Lib::Callback* callback) = 0;
};

// Owns display, music and clock; run() plays the scenes to the music.
class Demo : public Demo_Base {
public:
    Demo(Platform::Instance instance, Platform::Window window, bool nosound);
    ~Demo() override;
    void run(QEV_Lib::Callback* callback) override;

private:
    Holder<Screen> m_screen;
    Holder<Music> m_music;
    Holder<Timer> m_timer;
};

// The scene slot for an order: orders that start a scene select its slot,
// every other order keeps the current one.
int Scene_Slot(int order, int current_slot);
