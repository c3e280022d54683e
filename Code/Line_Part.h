#pragma once

#include "Holder.h"
#include "Part.h"
#include "Screen.h"
#include "Texture.h"
#include "Wire_Figure.h"

// The opening scene: a breathing wire figure that flashes on the beat, with
// text pictures over it and glow bands sliding down the screen.
class Line_Part : public Wire_Figure {
public:
    Line_Part(Screen* screen, const Scene_Params* params);

    void update() override;
    void render() override;

private:
    void draw_type0_lines(uint32_t colour);
    void select_text(int order, int row);
    void add_text();
    void add_glow_bands();

    Holder<Texture> m_texts[26];
    Texture* m_current_text;

    static float s_update_time;
    static float s_beat_flash;
    static int s_seen_row;
    static bool s_boost_started;
    static float s_boost_start;
    static float s_band_pos;
    static float s_band_level;
};

Holder<Part> Create_Line_Part(Screen* screen, const Scene_Params* params);
