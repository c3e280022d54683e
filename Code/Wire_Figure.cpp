#include "Wire_Figure.h"

#include "Colour.h"
#include "Draw_Line.h"
#include "Music.h"
#include "Timer.h"

#include <algorithm>
#include <cmath>

Wire_Figure::Wire_Figure(Screen* screen, const Scene_Params* params)
    : m_screen(screen), m_phase(0.0f), m_line_colour(params->m_colour), m_params(*params), m_scale(1.0f),
      m_speed(0.004f), m_boost(1.0f) {
    m_points.resize(2 * size_t(m_params.m_count));
    m_rotated.resize(2 * size_t(m_params.m_count));
}

void Wire_Figure::fill_type0_points() {
    const double n = m_params.m_count;
    for (size_t i = 0; i < m_points.size(); ++i) {
        const float a = float(7.0 * std::sin(17.0 * Pi * double(i) / n));
        const double b = 7.0 * std::cos(20.0 * Pi * double(i) / n);
        const double k = 1.0 + 0.9 * std::sin(3.0 * std::atan2(double(a), b));
        m_points[i] = {float(a * k), float(b * k)};
    }
}

void Wire_Figure::advance(float& update_time) {
    const double now = Timer::instance()->seconds();
    m_phase = float(m_phase + (now - update_time) * m_boost * m_speed);
    update_time = float(Timer::instance()->seconds());

    const float s = float(std::sin(14.0 * m_phase));
    const float co = float(std::cos(14.0 * m_phase));
    for (size_t i = 0; i < m_points.size(); ++i) {
        const Wire_Point p = m_points[i];
        m_rotated[i] = {s * p.x - co * p.y, co * p.x + s * p.y};
    }

    if (Music::instance()->order() >= 4 && !(m_scale > 1.0f)) {
        m_scale = 1.3f;
        m_speed = 0.01f;
    }
}

void Wire_Figure::draw_type1_lines(uint32_t colour) {
    const double theta = m_phase;
    const float ax = float(10.0 + 3.0 * std::sin(14.0 * theta));
    const float ay = float(10.0 + 5.0 * std::cos(13.5 * theta));
    const float bx = float(10.0 + 6.0 * std::sin(7.6 * theta));
    const float by = float(10.0 - 2.0 * std::cos(17.0 * theta));
    const float w2 = float(m_screen->width() / 2);
    const float h2 = float(m_screen->height() / 2);
    for (size_t k = 0; k < m_params.m_count; ++k) {
        const Wire_Point p = m_rotated[2 * k];
        const Wire_Point q = m_rotated[2 * k + 1];
        Draw_Line(m_screen, p.x * ax + w2, p.y * ay + h2, q.x * bx + w2, q.y * by + h2, colour);
    }
}

void Trigger_Beat_Flash(float& flash, int seen_row, int order, int row) {
    const bool beat = order == 0 ? row % 4 == 0 : row % 2 == 0;
    if (beat && row != seen_row)
        flash = 1.2f;
}

uint32_t Scale_Colour(uint32_t colour, float flash) {
    auto scale = [flash](uint32_t byte) { return uint32_t(std::min(int(float(byte) * flash), 255)); };
    return 0xFF000000 | scale((colour >> 16) & 0xFF) << 16 | scale((colour >> 8) & 0xFF) << 8 | scale(colour & 0xFF);
}

void Add_Grey(uint32_t* pixels, const uint8_t* grey, size_t count) {
    for (size_t i = 0; i < count; ++i)
        pixels[i] = Add_Saturate(pixels[i], uint32_t(grey[i]) * 0x010101u);
}
