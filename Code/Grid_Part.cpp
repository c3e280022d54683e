#include "Grid_Part.h"

#include "Colour.h"
#include "Fixed_Point.h"
#include "Music.h"
#include "Random.h"
#include "Timer.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace {

constexpr int Band_Top = 56;
constexpr int Band_Rows = 368;
constexpr int Overlay_Top = 70;
constexpr int Overlay_Margin = 10;

// A swirl centre moving over the grid, in vertex units.
struct Vortex {
    Vortex() {
        current_x = float(Rand() % 40);
        current_y = float(Rand() % 30);
        spare = float(Rand()) / 32767.0f;
        fx = float(Rand()) / 32767.0f;
        fy = float(Rand()) / 32767.0f;
        last_time = float(Rand());
    }

    float base_x = 20.0f;
    float base_y = 15.0f;
    float amplitude_x = 20.0f;
    float amplitude_y = 15.0f;
    float current_x;
    float current_y;
    float spare;
    float fx;
    float fy;
    float last_time;
};

uint32_t Rotate_Right(uint32_t value, int bits) { return (value >> bits) | (value << (32 - bits)); }

Music_Position Now() { return Music::instance()->position(); }

// Halves every colour channel; alpha 0xFF stays 0xFF, as an arithmetic shift
// of the pixel would keep it.
uint32_t Halve(uint32_t pixel) { return ((pixel >> 1) | (pixel & 0x80000000u)) & 0xFF7F7F7Fu; }

}

int Grid_Part::s_last_row = -1;
int Grid_Part::s_switch_count = 0;
uint32_t Grid_Part::s_noise = 0;
int Grid_Part::s_row_jump = 0;
float Grid_Part::s_row_wobble = 0.0f;
bool Grid_Part::s_fade_started = false;
float Grid_Part::s_fade_start = 0.0f;

Grid_Part::Grid_Part(Screen* screen)
    : m_screen(screen), m_overlay(nullptr), m_flash(0.0f), m_zoom(0.0f), m_draw_grid(true) {
    m_textures[0] = Load_Jpeg("texture/joomu.jpg");
    m_textures[1] = Load_Jpeg("texture/trash_sininen_1.jpg");
    m_textures[2] = Load_Jpeg("texture/trash_total_vihree.jpg");
    m_overlays[0] = Load_Tga("texture/MO_1.tga");
    m_overlays[1] = Load_Tga("texture/MO_2.tga");
    m_overlays[2] = Load_Tga("texture/MO_3.tga");
    m_overlays[3] = Load_Tga("texture/MO_4.tga");
    m_grid = Create_Grid(screen, m_textures[0].get(), 41, 24);
}

void Grid_Part::update() {
    static Vortex s_vortices[5];

    const float t = float(Timer::instance()->seconds() * 10.0);
    for (Vortex& vortex : s_vortices) {
        vortex.last_time = t;
        vortex.current_x = vortex.base_x + vortex.amplitude_x * std::sin(t * vortex.fx);
        vortex.current_y = vortex.base_y + vortex.amplitude_y * std::sin(t * vortex.fy);
    }

    handle_events();

    const float ct = std::cos(t);
    const float st = std::sin(t);
    const int columns = m_grid->column_count();
    const int rows = m_grid->row_count();
    Grid_Vertex* vertex = m_grid->vertices();
    const int32_t light = Fix(double(m_flash) * 255.0 * 65535.0);
    for (int i = 0; i < rows; ++i) {
        for (int j = 0; j < columns; ++j, ++vertex) {
            const float x = float(j);
            const float y = float(i);
            float su = 0.0f;
            float sv = 0.0f;
            float sa = 0.0f;
            for (const Vortex& vortex : s_vortices) {
                const float dx = x - vortex.current_x + 0.01f;
                const float dy = y - vortex.current_y + 0.01f;
                const float rx = ct * dx - st * dy;
                const float ry = st * dx + ct * dy;
                float w = std::pow(rx * rx + ry * ry, 0.75f);
                if (w != 0.0f)
                    w = 10.0f / w;
                su += w * rx;
                sv += w * ry;
                sa += std::atan2(dx, dy);
            }
            const float m = (std::sin(4.0f * sa) * 0.15f + 1.0f) * m_zoom * 16.0f;
            *vertex = {Fix(double(m * su) * 65535.0), Fix(double(m * sv) * 65535.0), light};
        }
    }

    m_flash += (1.0f - m_flash) * 0.4f;
    m_zoom += (1.0f - m_zoom) * 0.06f;
}

// Every test reads the position afresh: the module plays on between them.
void Grid_Part::handle_events() {
    Music_Position p = Now();
    if (p.m_row % 8 == 3 && p.m_row != s_last_row)
        m_flash = 3.0f;
    p = Now();
    if (p.m_order == 23 && p.m_row >= 60 && p.m_row != s_last_row)
        m_flash = 3.0f;
    p = Now();
    if (p.m_order >= 26 && p.m_row % 8 == 3 && p.m_row != s_last_row) {
        m_grid->set_texture(m_textures[1 + s_switch_count % 2].get());
        s_switch_count += 1;
    }
    p = Now();
    if ((p.m_order == 24 || p.m_order == 25) && p.m_row != s_last_row)
        m_overlay = m_overlays[Rand() % 4].get();
    if (Now().m_order == 30)
        m_draw_grid = false;
    p = Now();
    if (p.m_order == 22 && (p.m_row == 36 || p.m_row == 45 || p.m_row == 54) && p.m_row != s_last_row)
        m_zoom = 0.001f;
    p = Now();
    if (p.m_order == 23 && (p.m_row == 36 || p.m_row == 44) && p.m_row != s_last_row)
        m_zoom = 0.001f;
    s_last_row = Now().m_row;
}

void Grid_Part::render() {
    if (m_draw_grid)
        m_grid->render();
    else
        m_screen->clear();
    if (m_overlay)
        add_overlay();
    if (Now().m_order >= 26 && Rand() % 10 == 0)
        invert_band();
    if (Now().m_order >= 28)
        add_fade_bars();
}

uint32_t Grid_Part::Next_Noise() { return s_noise = Rotate_Right(s_noise + 157, 11) ^ 157; }

void Grid_Part::add_overlay() {
    float scale = float(Next_Noise() & 1023) * 0.007874016f;
    if (scale < 3.0f)
        scale *= 0.125f;
    if (float(Next_Noise() & 1023) * 0.0009775171f < 0.12409872f)
        s_row_jump = int(Next_Noise() & 255) * 2 - 254;

    const int width = m_overlay->width();
    const int height = m_overlay->height();
    const uint8_t* const grey = m_overlay->pixels();
    const ptrdiff_t grey_size = ptrdiff_t(width) * height;
    uint32_t* const frame = m_screen->pixels();
    const ptrdiff_t frame_size = ptrdiff_t(m_screen->width()) * m_screen->height();
    ptrdiff_t target = ptrdiff_t(Overlay_Top) * m_screen->width();
    for (int y = Overlay_Margin; y < height - Overlay_Margin; ++y, target += width) {
        const int n = int(Next_Noise() & 511);
        s_row_wobble += (float(n - 255) * scale - s_row_wobble) * 0.02f;
        const ptrdiff_t offset = ptrdiff_t(float(width * y + s_row_jump) + s_row_wobble);
        // Jump and wobble can shift a row past either end of a narrow or tall
        // overlay, and a large overlay past the frame's end: only the bytes
        // inside the overlay are read, only pixels inside the frame written.
        const ptrdiff_t first = std::max<ptrdiff_t>(0, -offset);
        const ptrdiff_t last = std::min({ptrdiff_t(width), grey_size - offset, frame_size - target});
        for (ptrdiff_t x = first; x < last; ++x)
            frame[target + x] = Add_Saturate(frame[target + x], grey[offset + x] * 0x010101u);
    }
}

void Grid_Part::invert_band() {
    uint32_t* const frame = m_screen->pixels();
    const int width = m_screen->width();
    const int bottom = std::min(Band_Top + Band_Rows, m_screen->height());
    for (ptrdiff_t i = ptrdiff_t(Band_Top) * width; i < ptrdiff_t(bottom) * width; ++i)
        frame[i] = 0u - frame[i];
}

void Grid_Part::add_fade_bars() {
    const float now = float(Timer::instance()->seconds());
    if (!s_fade_started) {
        s_fade_started = true;
        s_fade_start = now;
    }
    const int k = int((now - s_fade_start) * 3.0f);
    if (k < 0)
        return;
    uint32_t* const frame = m_screen->pixels();
    const int width = m_screen->width();
    const int bottom = std::min(Band_Top + Band_Rows, m_screen->height());
    // Runs go on into the next row at a row's end; they stop at the band's
    // edges, which slanted bars would otherwise pass in the last rows.
    const ptrdiff_t band_begin = ptrdiff_t(Band_Top) * width;
    const ptrdiff_t band_end = ptrdiff_t(bottom) * width;
    for (int bar = 0; bar <= k; ++bar) {
        const int step = Rand() % 5 - 2;
        const int length = Rand() % Band_Rows;
        const int x = Rand() % width;
        for (int row = 0; row < Band_Rows; ++row) {
            const ptrdiff_t start = ptrdiff_t(Band_Top + row) * width + x + (row < length ? 0 : (row - length) * step);
            const ptrdiff_t begin = std::max(start, band_begin);
            const ptrdiff_t end = std::min(start + k + 1, band_end);
            for (ptrdiff_t i = begin; i < end; ++i)
                frame[i] = Halve(frame[i]);
        }
    }
}

Holder<Part> Create_Grid_Part(Screen* screen) { return Holder<Part>(new Grid_Part(screen)); }
