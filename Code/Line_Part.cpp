#include "Line_Part.h"

#include "Colour.h"
#include "Draw_Line.h"
#include "Music.h"
#include "Random.h"
#include "Throw_Assertion.h"
#include "Timer.h"

#include <cmath>
#include <string>

float Line_Part::s_update_time = 0.0f;
float Line_Part::s_beat_flash = 0.0f;
int Line_Part::s_seen_row = -1;
bool Line_Part::s_boost_started = false;
float Line_Part::s_boost_start = 0.0f;
float Line_Part::s_band_pos = 0.0f;
float Line_Part::s_band_level = 0.0f;

namespace {

void Report_Invalid_Type() { QEV_Lib::Throw_Assertion("!\"invalid line part type\"", nullptr, "Line_Part", 0); }

constexpr int Keep = -2;
constexpr int No_Text = -1;
const int Text_Rows[8] = {0, 10, 16, 26, 32, 42, 48, 58};
// The text each of orders 4 to 7 shows from each of the rows above.
const int Text_Table[4][8] = {
    {0, 1, 2, 3, 4, 5, 6, 7},
    {8, 9, 10, 11, 12, 13, 14, 15},
    {16, 17, 18, 19, 20, 21, 22, 23},
    {24, 25, Keep, Keep, Keep, Keep, Keep, No_Text},
};

}

Line_Part::Line_Part(Screen* screen, const Scene_Params* params)
    : Wire_Figure(screen, params), m_current_text(nullptr) {
    const struct {
        char letter;
        int count;
    } groups[] = {{'a', 8}, {'b', 8}, {'c', 10}};
    int index = 0;
    for (const auto& group : groups)
        for (int number = 1; number <= group.count; ++number) {
            const std::string name = std::string("tekstit/") + group.letter + std::to_string(number) + ".tga";
            m_texts[index++] = Load_Tga(name.c_str());
        }

    const double n = m_params.m_count;
    switch (m_params.m_type) {
    case 0:
        fill_type0_points();
        break;
    case 1:
        for (size_t i = 0; i < m_points.size(); ++i) {
            const double t = 2.0 * Pi * double(i) / n;
            const float a = float(7.0 * std::sin(t));
            const double b = 7.0 * std::cos(t);
            const double phi = 4.0 * std::atan2(double(a), b);
            m_points[i] = {float(a * (2.0 * std::sin(phi) + 3.0)), float(b * (2.0 * std::cos(phi) + 3.0))};
        }
        break;
    default:
        Report_Invalid_Type();
    }
}

void Line_Part::update() { advance(s_update_time); }

void Line_Part::render() {
    Music* music = Music::instance();
    Timer* timer = Timer::instance();

    m_screen->clear();
    const uint32_t colour = m_line_colour;

    const Music_Position position = music->position();
    const int row = position.m_row;
    const int order = position.m_order;

    Trigger_Beat_Flash(s_beat_flash, s_seen_row, order, row);

    if (order == 2) {
        if (row >= 3 && row <= 11) {
            s_beat_flash = 0.0f;
            m_line_colour = 0xff122340;
        }
    } else if (order >= 4) {
        if ((row % 16 == 0 || row % 16 == 10) && row != s_seen_row)
            m_boost = 52.0f;
        select_text(order, row);
    }

    const uint32_t line_colour = Scale_Colour(colour, s_beat_flash);
    switch (m_params.m_type) {
    case 0:
        draw_type0_lines(line_colour);
        break;
    case 1:
        draw_type1_lines(line_colour);
        break;
    default:
        Report_Invalid_Type();
    }

    add_text();

    s_beat_flash = s_beat_flash * 0.56f;

    if (music->order() < 8) {
        m_boost = m_boost + (1.0f - m_boost) * 0.5f;
    } else {
        if (!s_boost_started) {
            s_boost_started = true;
            s_boost_start = float(timer->seconds());
        }
        m_boost = float(1.0 + 5.0 * (timer->seconds() - s_boost_start));
    }

    const int raw_order = music->order();
    if (raw_order >= 4 && raw_order <= 15 && row == 1 && s_seen_row != 1) {
        s_band_pos = 1.0f;
        s_band_level = 1.0f;
    }

    const int band_order = music->order();
    if (band_order >= 4 && band_order <= 8)
        add_glow_bands();

    s_seen_row = row;
    s_band_pos = s_band_pos * 0.95f;
}

void Line_Part::draw_type0_lines(uint32_t colour) {
    const double theta = m_phase;
    const float ax = float(5.0 + 9.0 * std::sin(10.0 * theta));
    const float ay = float(ax + 9.0 * std::cos(9.5 * theta));
    const float bx = float(ay + 9.0 * std::sin(13.6 * theta));
    const float by = float(ax - 9.0 * std::cos(17.0 * theta));
    const float w2 = float(m_screen->width() / 2);
    const float h2 = float(m_screen->height() / 2);
    for (size_t k = 0; k < m_params.m_count; ++k) {
        const Wire_Point p = m_rotated[2 * k];
        const Wire_Point q = m_rotated[2 * k + 1];
        Draw_Line(m_screen, p.x * m_scale * ax * 1.6f + w2, p.y * m_scale * ay + h2,
                  q.x * m_scale * bx * 1.6f + w2, q.y * m_scale * by + h2, colour);
    }
}

void Line_Part::select_text(int order, int row) {
    if (order > 7)
        return;
    for (int column = 0; column < 8; ++column)
        if (Text_Rows[column] == row) {
            const int index = Text_Table[order - 4][column];
            if (index != Keep)
                m_current_text = index == No_Text ? nullptr : m_texts[index].get();
        }
}

// A picture that is not a grey picture of the screen's size is not laid over
// it: its bytes would not line up with the pixels, or would run short.
void Line_Part::add_text() {
    Texture* text = m_current_text;
    if (!text || text->bytes_per_pixel() != 1 || text->width() != m_screen->width() ||
        text->height() != m_screen->height())
        return;
    Add_Grey(m_screen->pixels(), text->pixels(), size_t(m_screen->width()) * size_t(m_screen->height()));
}

void Line_Part::add_glow_bands() {
    uint32_t* pixels = m_screen->pixels();
    const int width = m_screen->width();
    const int height = m_screen->height();
    for (int band = 0; band < 8; ++band) {
        const int top = Rand() % 40 + 44 - int(360.0f * s_band_pos - 360.0f);
        for (int j = -8; j <= 8; ++j) {
            const int y = top + j + 8;
            const float t = float(j) / 8.0f;
            const float level = (1.0f - t * t) * s_band_level * 0.2f;
            const uint32_t colour = uint32_t(int(25.0f * level)) << 16 | uint32_t(int(28.0f * level)) << 8 |
                                    uint32_t(int(49.0f * level));
            // The band factor never leaves 0 to 1, so the rows lie within
            // 44 to 459; a shorter screen loses the rows it lacks.
            if (y < 0 || y >= height)
                continue;
            uint32_t* line = pixels + size_t(y) * size_t(width);
            for (int x = 0; x < width; ++x)
                line[x] = Add_Saturate(line[x], colour);
        }
    }
}

Holder<Part> Create_Line_Part(Screen* screen, const Scene_Params* params) {
    return Holder<Part>(new Line_Part(screen, params));
}
