#pragma once

#include "Grid.h"
#include "Holder.h"
#include "Part.h"
#include "Screen.h"
#include "Texture.h"

#include <cstdint>

// The vortex-warped picture of orders 22 to 29, with flashes, zooms, grey
// overlays, inversions and, at the end, darkening bars.
class Grid_Part : public Part {
public:
    explicit Grid_Part(Screen* screen);

    void update() override;
    void render() override;

    // For the tests: the mesh update() wrote.
    Grid* grid() const { return m_grid.get(); }

private:
    void handle_events();
    void add_overlay();
    void invert_band();
    void add_fade_bars();
    static uint32_t Next_Noise();

    Screen* m_screen;
    Holder<Texture> m_textures[3];
    Holder<Texture> m_overlays[4];
    Texture* m_overlay;
    Holder<Grid> m_grid;
    // Both start at 0: the grid fades in from black while the warp grows.
    float m_flash;
    float m_zoom;
    bool m_draw_grid;

    static int s_last_row;
    static int s_switch_count;
    static uint32_t s_noise;
    static int s_row_jump;
    static float s_row_wobble;
    static bool s_fade_started;
    static float s_fade_start;
};

Holder<Part> Create_Grid_Part(Screen* screen);
