#pragma once

#include "Grid.h"
#include "Holder.h"
#include "Part.h"
#include "Screen.h"
#include "Texture.h"

#include <cstdint>

// One linear ramp over the pattern rows [start_row, end_row). A table ends with
// a segment whose start_row is -1.
struct Ramp_Segment {
    int start_row;
    int end_row;
    float from;
    float to;
};

extern const Ramp_Segment s_ramp_default[];
extern const Ramp_Segment s_ramp_15[];
extern const Ramp_Segment s_ramp_16[];
extern const Ramp_Segment s_ramp_17[];

// The camera-turn ramp at the row one ahead; 0 on rows no segment covers.
float Ramp_Value();

// A vertex's shade level, kept inside the levels the grid has (4 to 511).
float Tunnel_Light(float light);

struct Vector3 {
    float x, y, z;
};

// The ray-cast tunnel of orders 10 to 21, with the closing picture revealed
// over it from order 18.
class Tunnel_Part : public Part {
public:
    explicit Tunnel_Part(Screen* screen);

    void update() override;
    void render() override;

    // For the tests: what update() left behind.
    Grid* grid() const { return m_grid.get(); }
    float morph() const { return m_morph; }
    float fade() const { return m_fade; }

private:
    struct View {
        Vector3 top_left, top_right, bottom_left, bottom_right;
    };

    void handle_events();
    void aim_camera();
    void turn_camera();
    View view_corners() const;
    void hand_over_texture();
    void cast_rays(const View& view);
    void add_picture();

    Screen* m_screen;
    Holder<Texture> m_textures[3];
    Texture* m_texture;
    Holder<Grid> m_grid;
    Holder<Texture> m_picture;
    Vector3 m_eye;
    Vector3 m_forward;
    float m_roll;
    float m_radius;
    float m_fov_scale;
    float m_time;
    float m_brightness;
    float m_angle;
    float m_morph;
    float m_fade;

    static bool s_started;
    static float s_time_origin;
    static int s_previous_row;
    static float s_flash;
    static float s_kick;
    static float s_swing;
    static float s_axis_fade;
    static Texture* s_grid_texture;
    static uint32_t s_band_noise;
};

Holder<Part> Create_Tunnel_Part(Screen* screen);
