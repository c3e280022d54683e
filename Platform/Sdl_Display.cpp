#include "Sdl_Display.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace Platform {

namespace {

constexpr int64_t Spin_Stretch = 1'000'000; // sleep overshoot rarely exceeds this

bool Depth_16_Forced() {
    const char* depth = std::getenv("ZIZO_DEPTH");
    return depth && std::strcmp(depth, "16") == 0;
}

bool Display_Runs_At_60(SDL_Window* window) {
    SDL_DisplayMode mode;
    if (SDL_GetCurrentDisplayMode(std::max(0, SDL_GetWindowDisplayIndex(window)), &mode) != 0)
        return false;
    // 59.94 Hz displays report 59 or 60.
    return mode.refresh_rate == 59 || mode.refresh_rate == 60;
}

}

int64_t Frame_Pacer::Now() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return int64_t(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

void Frame_Pacer::wait() {
    int64_t start = Now();
    if (m_deadline > start) {
        int64_t wake = m_deadline - Spin_Stretch;
        if (wake > start) {
            timespec until{time_t(wake / 1'000'000'000), long(wake % 1'000'000'000)};
            while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) != 0) {
            }
        }
        while (Now() < m_deadline) {
        }
    }
    // A late frame moves the deadline, so the next one still waits a period.
    m_deadline = std::max(start, m_deadline) + Period;
}

Sdl_Display::Sdl_Display(SDL_Window* window) : m_window(window) {}

Sdl_Display::~Sdl_Display() {
    if (m_scaled)
        SDL_DestroyTexture(m_scaled);
    if (m_back)
        SDL_DestroyTexture(m_back);
    if (m_renderer)
        SDL_DestroyRenderer(m_renderer);
}

int Sdl_Display::set_cooperative_level(Window window) {
    if (window)
        m_window = static_cast<SDL_Window*>(window);
    return m_window ? 0 : 1;
}

int Sdl_Display::set_display_mode(int width, int height, int bits) {
    if ((bits == 32 && Depth_16_Forced()) || (bits != 16 && bits != 32))
        return 1;
    m_width = width;
    m_height = height;
    m_bits = bits;
    return 0;
}

int Sdl_Display::create_primary_surface(int) {
    if (!m_window || m_bits == 0)
        return 1;
    m_vsync = Display_Runs_At_60(m_window);
    m_renderer = SDL_CreateRenderer(m_window, -1, m_vsync ? SDL_RENDERER_PRESENTVSYNC : 0);
    if (!m_renderer)
        return 1;
    uint32_t format = m_bits == 32 ? SDL_PIXELFORMAT_ARGB8888 : SDL_PIXELFORMAT_RGB565;
    m_back = SDL_CreateTexture(m_renderer, format, SDL_TEXTUREACCESS_STREAMING, m_width, m_height);
    if (!m_back)
        return 1;
    SDL_SetRenderDrawColor(m_renderer, 0, 0, 0, 255);
    return 0;
}

int Sdl_Display::find_back_buffer() { return m_back ? 0 : 1; }

int Sdl_Display::surface_bits() {
    uint32_t format = 0;
    if (!m_back || SDL_QueryTexture(m_back, &format, nullptr, nullptr, nullptr) != 0)
        return 0;
    return SDL_BITSPERPIXEL(format);
}

int Sdl_Display::lock_back_buffer(void** pixels, int* pitch) {
    if (!m_back || m_locked || SDL_LockTexture(m_back, nullptr, pixels, pitch) != 0)
        return 1;
    m_locked = true;
    return 0;
}

int Sdl_Display::unlock_back_buffer() {
    if (!m_locked)
        return 1;
    SDL_UnlockTexture(m_back);
    m_locked = false;
    return 0;
}

int Sdl_Display::flip() {
    if (!m_back || m_locked || draw() != 0)
        return 1;
    if (!m_vsync)
        m_pacer.wait();
    SDL_RenderPresent(m_renderer);
    int64_t shown = Frame_Pacer::Now();
    if (m_vsync) {
        // Some drivers take the vsync request and ignore it: after a run of
        // flips that come too soon, the timer paces instead.
        m_quick_flips = shown - m_last_shown < Frame_Pacer::Period * 3 / 4 ? m_quick_flips + 1 : 0;
        if (m_quick_flips >= 10) {
            SDL_RenderSetVSync(m_renderer, 0);
            m_vsync = false;
        }
    }
    m_last_shown = shown;
    return 0;
}

int Sdl_Display::draw() {
    int output_width = 0, output_height = 0;
    if (SDL_GetRendererOutputSize(m_renderer, &output_width, &output_height) != 0 || SDL_RenderClear(m_renderer) != 0)
        return 1;
    // The largest 4:3 picture that fits, centred between black bars.
    SDL_Rect place{0, 0, output_width, output_height};
    if (int64_t(output_width) * m_height > int64_t(output_height) * m_width)
        place.w = int(int64_t(output_height) * m_width / m_height);
    else
        place.h = int(int64_t(output_width) * m_height / m_width);
    place.x = (output_width - place.w) / 2;
    place.y = (output_height - place.h) / 2;
    int factor = std::min(output_width / m_width, output_height / m_height);
    if (factor >= 1 && place.w == factor * m_width) {
        SDL_SetTextureScaleMode(m_back, SDL_ScaleModeNearest);
        return SDL_RenderCopy(m_renderer, m_back, nullptr, &place);
    }
    SDL_Texture* scaled = factor >= 2 ? scaled_target(factor) : nullptr;
    if (!scaled) {
        SDL_SetTextureScaleMode(m_back, SDL_ScaleModeLinear);
        return SDL_RenderCopy(m_renderer, m_back, nullptr, &place);
    }
    SDL_SetTextureScaleMode(m_back, SDL_ScaleModeNearest);
    if (SDL_SetRenderTarget(m_renderer, scaled) != 0 || SDL_RenderCopy(m_renderer, m_back, nullptr, nullptr) != 0 ||
        SDL_SetRenderTarget(m_renderer, nullptr) != 0)
        return 1;
    return SDL_RenderCopy(m_renderer, scaled, nullptr, &place);
}

SDL_Texture* Sdl_Display::scaled_target(int factor) {
    if (factor == m_scaled_factor)
        return m_scaled;
    if (m_scaled)
        SDL_DestroyTexture(m_scaled);
    m_scaled = nullptr;
    m_scaled_factor = factor;
    if (SDL_RenderTargetSupported(m_renderer)) {
        m_scaled = SDL_CreateTexture(m_renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET,
                                     factor * m_width, factor * m_height);
        if (m_scaled)
            SDL_SetTextureScaleMode(m_scaled, SDL_ScaleModeLinear);
    }
    return m_scaled;
}

}
