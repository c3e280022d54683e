#pragma once

#include "Holder.h"
#include "Part.h"
#include "Screen.h"
#include "Texture.h"
#include "Wire_Figure.h"

// The closing scene: the wire figure, three times as dense, under drum
// pictures cut to the rhythm; from order 33 it flickers out while it spins
// ever faster.
class Drum_Part : public Wire_Figure {
public:
    Drum_Part(Screen* screen, const Scene_Params* params);

    void update() override;
    void render() override;

private:
    void select_picture(int order, int row);
    void add_picture();

    Holder<Texture> m_pictures[8];
    Texture* m_current_picture;

    static float s_update_time;
    static float s_beat_flash;
    static int s_seen_row;
    static bool s_flicker_started;
    static float s_flicker_start;
    static bool s_boost_started;
    static float s_boost_start;
};

Holder<Part> Create_Drum_Part(Screen* screen, const Scene_Params* params);
