#pragma once

// The display of the real program: the back buffer is an SDL streaming
// texture (ARGB8888, or RGB565 when 32 bits are refused; ZIZO_DEPTH=16
// refuses them), shown in the window with its 4:3 shape kept and black bars:
// whole-number nearest-neighbour scaling as far as it fits, smooth scaling
// only for the remainder. Flips are paced to 60 a second: by vsync where the
// display runs at 60 Hz, by a sleep-then-spin timer otherwise, never faster.

#include "Platform.h"

#include <cstdint>

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;

namespace Platform {

// Deadlines of a steady frame rate on the monotonic clock, in nanoseconds.
class Frame_Pacer {
public:
    static constexpr int64_t Period = 1'000'000'000 / 60;

    // Waits until the next frame is due, sleeping, then spinning the last
    // stretch. A late frame moves the deadlines on, so the interval to the
    // next one is still a whole period.
    void wait();
    static int64_t Now();

private:
    int64_t m_deadline = 0;
};

class Sdl_Display : public Display {
public:
    explicit Sdl_Display(SDL_Window* window);
    ~Sdl_Display() override;

    int set_cooperative_level(Window window) override;
    int set_display_mode(int width, int height, int bits) override;
    int create_primary_surface(int back_buffer_count) override;
    int find_back_buffer() override;
    int surface_bits() override;
    int lock_back_buffer(void** pixels, int* pitch) override;
    int unlock_back_buffer() override;
    int flip() override;

    bool vsync() const { return m_vsync; }

private:
    int draw();
    SDL_Texture* scaled_target(int factor);

    SDL_Window* m_window;
    SDL_Renderer* m_renderer = nullptr;
    SDL_Texture* m_back = nullptr;
    SDL_Texture* m_scaled = nullptr; // the back buffer at a whole-number scale
    int m_scaled_factor = 0;
    int m_width = 0;
    int m_height = 0;
    int m_bits = 0;
    bool m_locked = false;
    bool m_vsync = false;
    int m_quick_flips = 0; // vsync flips in a row that came too soon
    int64_t m_last_shown = 0;
    Frame_Pacer m_pacer;
};

}
