#include "Drum_Part.h"

#include "Music.h"
#include "Random.h"
#include "Timer.h"

#include <algorithm>
#include <cstddef>
#include <initializer_list>

float Drum_Part::s_update_time = 0.0f;
float Drum_Part::s_beat_flash = 0.0f;
int Drum_Part::s_seen_row = -1;
bool Drum_Part::s_flicker_started = false;
float Drum_Part::s_flicker_start = 0.0f;
bool Drum_Part::s_boost_started = false;
float Drum_Part::s_boost_start = 0.0f;

namespace {

constexpr uint32_t Rows(std::initializer_list<int> rows) {
    uint32_t mask = 0;
    for (int row : rows)
        mask |= 1u << row;
    return mask;
}

// The rows (of each half pattern in orders 30 and 31, of the first half in
// order 32) on which a picture comes on.
struct Cue {
    int order;
    int picture;
    uint32_t rows;
};

constexpr Cue Cues[] = {
    {30, 0, Rows({0, 10, 16, 23})},         {30, 1, Rows({3, 13, 20, 26})},
    {30, 2, Rows({7, 15, 19, 29})},         {30, 3, Rows({9, 31})},
    {31, 0, Rows({0, 10, 16, 23})},         {31, 1, Rows({6, 13, 20, 26})},
    {31, 2, Rows({7, 15, 19, 29})},         {31, 3, Rows({9, 31})},
    {32, 4, Rows({0, 17, 24, 29})},         {32, 5, Rows({4, 13, 18, 22, 27, 30})},
    {32, 6, Rows({10, 14, 16, 19, 21, 25, 31})}, {32, 7, Rows({12, 15, 20, 23, 26, 28})},
};

const char* const Picture_Files[8] = {
    "texture/x1_basari.tga", "texture/x2_snare.tga", "texture/x3_vs1.tga", "texture/x1_vs2.tga",
    "texture/g1.tga",        "texture/g2.tga",       "texture/g3.tga",     "texture/g4.tga",
};

constexpr int Picture_Top = 60;

}

Drum_Part::Drum_Part(Screen* screen, const Scene_Params* params)
    : Wire_Figure(screen, params), m_current_picture(nullptr) {
    for (int i = 0; i < 8; ++i)
        m_pictures[i] = Load_Tga(Picture_Files[i]);
    fill_type0_points();
}

void Drum_Part::update() { advance(s_update_time); }

void Drum_Part::render() {
    Music* music = Music::instance();
    Timer* timer = Timer::instance();

    m_screen->clear();
    const uint32_t colour = m_line_colour;

    const int row = music->row();
    Trigger_Beat_Flash(s_beat_flash, s_seen_row, music->order(), row);

    if (music->order() == 2 && row >= 3 && row <= 11) {
        s_beat_flash = 0.0f;
        m_line_colour = 0xff081a20;
    }

    if (music->position().m_order >= 33) {
        if (!s_flicker_started) {
            s_flicker_started = true;
            s_flicker_start = float(timer->seconds());
        }
        const float f = std::min(float((timer->seconds() - s_flicker_start) * 0.107526876f), 1.0f);
        s_beat_flash = float(Rand() * (1.0f - f) * 0.000030518509);
    }

    Music_Position position = music->position();
    if (position.m_order == 30)
        select_picture(30, position.m_row % 32);
    position = music->position();
    if (position.m_order == 31)
        select_picture(31, position.m_row % 32);
    position = music->position();
    if (position.m_order == 32 && position.m_row < 32)
        select_picture(32, position.m_row);
    if (music->position().m_order >= 33)
        m_current_picture = nullptr;

    s_seen_row = row;

    draw_type1_lines(Scale_Colour(colour, s_beat_flash));
    add_picture();

    s_beat_flash = s_beat_flash * 0.56f;

    if (!s_boost_started) {
        s_boost_started = true;
        s_boost_start = float(timer->seconds());
    }
    m_boost = float(1.0 + 5.0 * (timer->seconds() - s_boost_start));
}

void Drum_Part::select_picture(int order, int row) {
    for (const Cue& cue : Cues)
        if (cue.order == order && (cue.rows >> row & 1u))
            m_current_picture = m_pictures[cue.picture].get();
}

// The picture is laid on row for row from row 60, so only a grey picture as
// wide as the screen fits; rows beyond the bottom of the screen are dropped.
void Drum_Part::add_picture() {
    Texture* picture = m_current_picture;
    const int width = m_screen->width();
    if (!picture || picture->bytes_per_pixel() != 1 || picture->width() != width)
        return;
    const int rows = std::min(picture->height(), m_screen->height() - Picture_Top);
    if (rows <= 0)
        return;
    Add_Grey(m_screen->pixels() + size_t(Picture_Top) * size_t(width), picture->pixels(),
             size_t(rows) * size_t(width));
}

Holder<Part> Create_Drum_Part(Screen* screen, const Scene_Params* params) {
    return Holder<Part>(new Drum_Part(screen, params));
}
