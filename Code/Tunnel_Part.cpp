#include "Tunnel_Part.h"

#include "Colour.h"
#include "Fixed_Point.h"
#include "Music.h"
#include "Timer.h"

#include <algorithm>
#include <cmath>
#include <cstring>

const Ramp_Segment s_ramp_default[] = {
    {0, 1, 1.0f, 0.5f},     {1, 12, 0.5f, 0.5f},  {12, 18, 0.3f, 0.3f}, {18, 29, 0.3f, 0.0f},
    {44, 48, 0.86f, 0.86f}, {48, 63, 0.86f, 0.0f}, {-1, 0, 0.0f, 0.0f},
};

const Ramp_Segment s_ramp_15[] = {
    {0, 2, 1.5f, 1.5f},     {2, 3, 1.5f, 0.75f},  {3, 6, 0.75f, 0.75f},   {6, 18, 0.34f, 0.24f},
    {18, 29, 0.24f, 0.0f}, {44, 48, 0.22f, 0.22f}, {48, 63, 0.22f, 1.4f}, {-1, 0, 0.0f, 0.0f},
};

const Ramp_Segment s_ramp_16[] = {
    {0, 3, 2.0f, 1.0f},     {3, 6, 2.0f, 1.0f},   {6, 7, 0.6f, 0.3f}, {18, 29, 0.3f, 0.0f},
    {44, 48, 0.86f, 0.86f}, {48, 63, 0.86f, 0.0f}, {-1, 0, 0.0f, 0.0f},
};

const Ramp_Segment s_ramp_17[] = {
    {0, 1, 1.5f, 1.5f},    {1, 2, 1.5f, 1.5f},     {2, 3, 0.75f, 0.75f},   {3, 4, 1.6f, 1.5f},
    {4, 5, 1.6f, 1.5f},    {5, 6, 1.6f, 1.5f},     {6, 18, 0.34f, 0.24f},  {18, 29, 0.24f, 0.0f},
    {44, 48, 0.22f, 0.22f}, {48, 63, 0.22f, 1.4f}, {-1, 0, 0.0f, 0.0f},
};

namespace {

// The grid's top row on a 480-row screen; the closing picture is laid from it.
constexpr int Picture_Top = 56;
constexpr float Seconds_Per_Row = 87.609f * 0.001f;

int s_ramp_row = -1;
float s_ramp_start = 0.0f;
float s_ramp_length = 0.0f;

Vector3 operator+(Vector3 a, Vector3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Vector3 operator-(Vector3 a, Vector3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vector3 operator*(Vector3 a, float k) { return {a.x * k, a.y * k, a.z * k}; }
Vector3 operator/(Vector3 a, float k) { return {a.x / k, a.y / k, a.z / k}; }

Vector3 Cross(Vector3 a, Vector3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

uint32_t Rotate_Right(uint32_t value, int bits) { return (value >> bits) | (value << (32 - bits)); }

const Ramp_Segment* Ramp_Table(int order) {
    switch (order) {
    case 15:
        return s_ramp_15;
    case 16:
        return s_ramp_16;
    case 17:
        return s_ramp_17;
    default:
        return s_ramp_default;
    }
}

}

float Ramp_Value() {
    const Music_Position position = Music::instance()->position();
    const int row = position.m_row;
    const Ramp_Segment* segment = Ramp_Table(position.m_order);
    while (segment->start_row != -1 && !(segment->start_row <= row && row < segment->end_row))
        ++segment;
    if (segment->start_row == -1)
        return 0.0f;
    const float now = float(Timer::instance()->seconds());
    if (row != s_ramp_row && row == segment->start_row) {
        s_ramp_length = float(segment->end_row - segment->start_row) * Seconds_Per_Row;
        s_ramp_start = now;
    }
    s_ramp_row = row;
    // Entered after its start row before any segment has started: there is
    // no duration to divide by, so the ramp stands at its beginning.
    if (s_ramp_length == 0.0f)
        return segment->from;
    return segment->from + ((now - s_ramp_start) / s_ramp_length) * (segment->to - segment->from);
}

float Tunnel_Light(float light) {
    if (!(light >= 4.0f))
        return 4.0f;
    return std::min(light, 511.0f);
}

bool Tunnel_Part::s_started = false;
float Tunnel_Part::s_time_origin = 0.0f;
int Tunnel_Part::s_previous_row = 0;
float Tunnel_Part::s_flash = 1.0f;
float Tunnel_Part::s_kick = 0.0f;
float Tunnel_Part::s_swing = 0.0f;
float Tunnel_Part::s_axis_fade = 1.0f;
Texture* Tunnel_Part::s_grid_texture = nullptr;
uint32_t Tunnel_Part::s_band_noise = 0;

Tunnel_Part::Tunnel_Part(Screen* screen) : m_screen(screen), m_texture(nullptr) {
    m_picture = Load_Jpeg("texture/mafia_368.jpg");
    m_eye = {0.0f, 0.0f, 0.0f};
    m_forward = {0.0f, 0.0f, 1.0f};
    m_roll = 0.0f;
    m_radius = 20.0f;
    m_fov_scale = 1.0f;
    m_time = 0.0f;
    m_brightness = 1.0f;
    m_angle = 0.0f;
    m_morph = 0.0f;
    m_fade = 1.0f;
    m_textures[0] = Load_Jpeg("texture/teksture_krazy.jpg");
    m_textures[1] = Load_Jpeg("texture/teksture.jpg");
    m_textures[2] = Load_Jpeg("texture/trash_punanen.jpg");
    m_texture = m_textures[0].get();
    m_grid = Create_Grid(m_screen, m_texture, 41, 24);
}

void Tunnel_Part::update() {
    Timer* timer = Timer::instance();
    if (!s_started) {
        s_started = true;
        s_time_origin = float(timer->seconds());
    }
    m_time = float(timer->seconds()) - s_time_origin;

    handle_events();
    aim_camera();
    turn_camera();
    s_previous_row = Music::instance()->row();
    const View view = view_corners();
    hand_over_texture();
    cast_rays(view);

    // After the vertices, so that an event's value shows at full strength in
    // the frame of the event.
    s_flash += (1.0f - s_flash) * 0.65f;
    s_kick *= 0.1f;
    s_swing *= 0.95f;
    m_morph *= 0.85f;
}

void Tunnel_Part::handle_events() {
    Music* music = Music::instance();
    const int row = music->row();
    const int order = music->order();
    const int prev = s_previous_row;
    const bool odd_pair = order == 11 || order == 13;
    // The guards are uneven on purpose: "prev != 0" does not compare with the
    // current row, so the beat rules hold their values for the whole row.
    if (row % 32 == 22 && prev != 22) {
        s_flash = 1.5f;
        s_kick = 0.4f;
    }
    if (order == 10 && row % 8 == 3 && prev != 0) {
        s_flash = 2.0f;
        s_kick = 1.0f;
    }
    if (odd_pair && row < 48 && row % 8 == 3 && prev != 0) {
        s_flash = 2.0f;
        s_kick = 1.0f;
    }
    if (odd_pair && (row == 51 || row == 57) && row != prev) {
        s_flash = 2.0f;
        s_kick = 1.0f;
        s_swing = 1.0f;
    }
    if (odd_pair && row == 53 && row != prev) {
        s_flash = 2.0f;
        s_kick = -3.6f;
        s_swing = 2.0f;
    }
    if (odd_pair && (row == 49 || row == 55) && row != prev) {
        s_flash = 1.2f;
        s_kick = 0.2f;
        s_swing = -2.0f;
    }
    if (order == 12 && row < 27) {
        m_brightness = 0.45f;
        m_texture = m_textures[1].get();
    }
    if (order == 12 && row >= 27 && row % 8 == 3 && prev != 0) {
        s_flash = 2.0f;
        s_kick = 1.0f;
    }
    if (order == 12 && row >= 27)
        m_brightness = 1.0f;
}

void Tunnel_Part::aim_camera() {
    const float t = m_time;
    m_eye = {0.0f, 0.0f, 80.0f * t};
    const float sx = std::sin(30.5f * t);
    const float cy = std::cos(40.0f * t);
    const Vector3 wobble = {0.1f * sx * sx, 0.1f * cy * cy, 1.2f + std::cos(20.9f * t)};
    if (Music::instance()->order() < 12) {
        m_forward = wobble * s_kick;
        return;
    }
    m_forward = wobble * s_kick + Vector3{0.0f, 0.0f, 1.0f} * ((1.0f - s_kick) * (1.0f - s_axis_fade));
    m_eye.z *= 1.6f;
    m_forward = m_forward + Vector3{std::sin(t), std::cos(t + 2332.23f), std::cos(t)} * s_swing;
    m_roll = s_swing;
    s_axis_fade *= 0.92f;
}

void Tunnel_Part::turn_camera() {
    Music* music = Music::instance();
    if (music->order() < 14) {
        m_angle = 0.0f;
        return;
    }
    const Music_Position ahead = music->position();
    m_texture = m_textures[2].get();
    const float v = Ramp_Value();
    m_angle = 0.03f * (70.0f * v - m_angle);
    const float a = m_angle;
    if (ahead.m_order % 2 != 0) {
        m_forward = {0.0f, -std::sin(a), std::cos(a)};
        m_roll = -a;
    } else {
        m_forward = {std::sin(a), 0.0f, std::cos(a)};
        m_roll = a;
    }
    m_fov_scale = a + 1.0f;
    // Tested on the row one ahead, against the full row of the previous update.
    const int q = music->position().m_row % 16;
    if ((q == 0 || q == 10) && q != s_previous_row) {
        m_morph = 1.0f;
        s_flash = 1.4f;
    }
    if (ahead.m_order >= 18)
        m_fade *= 1.01f;
}

Tunnel_Part::View Tunnel_Part::view_corners() const {
    // The forward vector is not normalised: R grows with its length, U with
    // its square.
    const Vector3 f = m_forward;
    const float k = 1.0f / m_fov_scale;
    const Vector3 up_hint = {std::sin(m_roll), std::cos(m_roll), 0.0f};
    const Vector3 right = Cross(f, up_hint);
    const Vector3 up = Cross(f, right);
    const Vector3 ahead = f * k;
    return {ahead + right + up, ahead - right + up, ahead + right - up, ahead - right - up};
}

void Tunnel_Part::hand_over_texture() {
    if (m_texture == s_grid_texture)
        return;
    if (m_texture)
        m_grid->set_texture(m_texture);
    s_grid_texture = m_texture;
}

void Tunnel_Part::cast_rays(const View& view) {
    const int columns = m_grid->column_count();
    const int rows = m_grid->row_count();
    Grid_Vertex* vertex = m_grid->vertices();
    const Vector3 e = m_eye;
    const float shade = (1.0f / m_fade) * m_brightness * s_flash;
    for (int j = 0; j < rows; ++j) {
        // The divisors are the counts, not the counts less one: the last
        // vertices stop short of the right and bottom corners.
        const Vector3 left = view.top_left + (view.bottom_left - view.top_left) * float(j) / float(rows);
        const Vector3 right = view.top_right + (view.bottom_right - view.top_right) * float(j) / float(rows);
        for (int i = 0; i < columns; ++i, ++vertex) {
            const Vector3 r = left + (right - left) * float(i) / float(columns);

            const float a = r.x * r.x + r.y * r.y;
            const float b = 2.0f * (r.x * e.x + r.y * e.y);
            const float k = e.x * e.x + e.y * e.y - m_radius * m_radius;
            const float s = std::sqrt(b * b - 4.0f * a * k);
            const float t1 = (s - b) / (2.0f * a);
            const float t2 = (-b - s) / (2.0f * a);
            const float h = t1 >= t2 ? t1 : t2;

            const float phi = std::atan2(r.y, r.x) + 0.7853981625f;
            const float m1 = 2.0f - std::pow(std::fabs(std::sin(2.0f * phi)), 0.3f);
            const float m2 = 2.0f - std::pow(std::fabs(std::sin(1.5f * phi)), 0.6f);
            const float m = m1 + (m2 - m1) * m_morph;

            const Vector3 hit = e + r * m * h;
            const Vector3 d = hit - e;
            const float distance = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
            const float light = Tunnel_Light((320.0f - 2.4f * distance) * shade);
            const float around = std::atan2(hit.y, hit.x) * 81.16902f;
            *vertex = {Fix(hit.z * 65535.0f), Fix(around * 65535.0f), Fix(light * 65535.0f)};
        }
    }
}

void Tunnel_Part::render() {
    m_grid->render();
    if (!(m_fade > 1.0f))
        return;
    add_picture();
}

void Tunnel_Part::add_picture() {
    const float d = (m_fade - 1.0f) * 0.06f;
    double centre = std::fmod(Timer::instance()->seconds() * (1.0 / (d + 1.0)) * 413.74234, 368.0);
    if (centre < 0.0)
        centre += 368.0;
    // Past a few hundred the reach no longer matters: every row is drawn.
    const int reach = int(std::min(double(d) * 368.0, 1.0e9));

    const int width = m_picture->width();
    const int height = m_picture->height();
    const uint8_t* const picture = m_picture->pixels();
    uint32_t* const frame = m_screen->pixels();
    const int frame_width = m_screen->width();
    const int frame_height = m_screen->height();
    // A picture larger than the frame is cut at its right and bottom edges.
    const int columns = std::min(width, frame_width);
    for (int y = 0; y < height; ++y) {
        s_band_noise = Rotate_Right(s_band_noise + 157, 13) ^ 157;
        double distance = std::fabs(centre - y);
        if (height / 2 <= distance)
            distance = height - distance;
        if (int(s_band_noise & 255) + int(distance) >= reach)
            continue;
        if (y + Picture_Top >= frame_height)
            continue;
        uint32_t* target = frame + size_t(y + Picture_Top) * frame_width;
        const uint8_t* source = picture + size_t(y) * width * 4;
        for (int x = 0; x < columns; ++x) {
            uint32_t pixel;
            std::memcpy(&pixel, source + 4 * x, 4);
            target[x] = Add_Saturate(target[x], pixel);
        }
    }
}

Holder<Part> Create_Tunnel_Part(Screen* screen) { return Holder<Part>(new Tunnel_Part(screen)); }
