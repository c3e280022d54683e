// The SDL backend over SDL's dummy video driver: no display needed.

#include "Message_Pump.h"
#include "Screen.h"
#include "Sdl_Backend.h"
#include "Sdl_Display.h"

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <memory>

namespace {

struct Sdl_Platform {
    Sdl_Platform() {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_RENDER_DRIVER", "software", 1);
        backend = std::make_unique<Platform::Sdl_Backend>();
        Platform::Use_Backend(backend.get());
        Create_Window(nullptr, 1);
    }
    ~Sdl_Platform() { Platform::Use_Backend(nullptr); }

    void key(SDL_EventType type, SDL_Keycode key, uint16_t mod = KMOD_NONE) {
        SDL_Event event{};
        event.type = type;
        event.key.keysym.sym = key;
        event.key.keysym.mod = mod;
        event.key.windowID = SDL_GetWindowID(static_cast<SDL_Window*>(s_main_window));
        SDL_PushEvent(&event);
    }

    // Pumps one message a frame, as the frame loop does, until a quit.
    int run_pump() {
        Message_Pump pump;
        for (int frame = 0; frame < 100; ++frame) {
            try {
                pump.call();
            } catch (const Windows_Msg& quit) {
                return quit.m_code;
            }
        }
        return -1;
    }

    std::unique_ptr<Platform::Sdl_Backend> backend;
};

uint32_t Pixel_At(SDL_Renderer* renderer, int x, int y) {
    SDL_Rect one{x, y, 1, 1};
    uint32_t pixel = 0;
    EXPECT_EQ(SDL_RenderReadPixels(renderer, &one, SDL_PIXELFORMAT_ARGB8888, &pixel, 4), 0) << SDL_GetError();
    return pixel & 0xFFFFFF;
}

}

TEST(Sdl_Backend, EscapeStateKeepsATapBetweenTwoQueries) {
    Sdl_Platform platform;
    Platform::Backend& backend = *platform.backend;
    EXPECT_EQ(backend.async_key_state(Platform::Key_Escape), 0);
    platform.key(SDL_KEYDOWN, SDLK_ESCAPE);
    platform.key(SDL_KEYUP, SDLK_ESCAPE);
    EXPECT_EQ(backend.async_key_state(Platform::Key_Escape), 1);
    EXPECT_EQ(backend.async_key_state(Platform::Key_Escape), 0);
    platform.key(SDL_KEYDOWN, SDLK_ESCAPE);
    EXPECT_EQ(uint16_t(backend.async_key_state(Platform::Key_Escape)), 0x8001);
    EXPECT_EQ(uint16_t(backend.async_key_state(Platform::Key_Escape)), 0x8000);
    platform.key(SDL_KEYUP, SDLK_ESCAPE);
    EXPECT_EQ(backend.async_key_state(Platform::Key_Escape), 0);
    EXPECT_EQ(backend.async_key_state('A'), 0);
}

TEST(Sdl_Backend, ClosingTheWindowQuitsWithCodeZero) {
    Sdl_Platform platform;
    SDL_Event close{};
    close.type = SDL_WINDOWEVENT;
    close.window.event = SDL_WINDOWEVENT_CLOSE;
    close.window.windowID = SDL_GetWindowID(static_cast<SDL_Window*>(s_main_window));
    SDL_PushEvent(&close);
    EXPECT_EQ(platform.run_pump(), 0);
}

TEST(Sdl_Backend, SignalsQuitWith128PlusTheirNumber) {
    Sdl_Platform platform;
    std::raise(SIGTERM);
    EXPECT_EQ(platform.run_pump(), 128 + SIGTERM);
}

TEST(Sdl_Backend, AltEnterSwitchesBetweenFullScreenAndWindow) {
    Sdl_Platform platform;
    SDL_Window* window = static_cast<SDL_Window*>(s_main_window);
    ASSERT_TRUE(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP);
    Message_Pump pump;
    platform.key(SDL_KEYDOWN, SDLK_RETURN, KMOD_LALT);
    platform.key(SDL_KEYUP, SDLK_RETURN, KMOD_LALT);
    for (int frame = 0; frame < 3; ++frame)
        pump.call();
    EXPECT_FALSE(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP);
    platform.key(SDL_KEYDOWN, SDLK_RETURN); // Enter alone does nothing
    platform.key(SDL_KEYDOWN, SDLK_RETURN, KMOD_RALT);
    for (int frame = 0; frame < 3; ++frame)
        pump.call();
    EXPECT_TRUE(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP);
}

TEST(Sdl_Display, SixteenBitsShowTheConvertedPictureLetterboxedAndPaced) {
    setenv("ZIZO_DEPTH", "16", 1);
    setenv("ZIZO_WINDOWED", "1", 1);
    Sdl_Platform platform;
    SDL_Window* window = static_cast<SDL_Window*>(s_main_window);
    SDL_SetWindowSize(window, 1000, 480); // wider than 4:3: bars left and right
    DDraw_Screen screen(nullptr, s_main_window, 640, 480, 32);
    SDL_Renderer* renderer = SDL_GetRenderer(window);
    ASSERT_NE(renderer, nullptr);
    // 0x123456 comes back from RGB565 as 0x103452: the conversion drops the
    // low bits of every channel, which 32 bits would keep.
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            screen.pixels()[y * 640 + x] = x < 320 ? 0xFF123456 : 0xFF0000FF;
    // Frames come no faster than 60 a second.
    int64_t start = Platform::Frame_Pacer::Now();
    for (int frame = 0; frame < 7; ++frame)
        EXPECT_EQ(screen.present(), 0);
    EXPECT_GE(Platform::Frame_Pacer::Now() - start, 6 * Platform::Frame_Pacer::Period - 1'000'000);
    int width = 0, height = 0;
    SDL_GetRendererOutputSize(renderer, &width, &height);
    ASSERT_EQ(width, 1000);
    ASSERT_EQ(height, 480);
    // The 640x480 picture sits in the middle, 180 pixels of black each side.
    EXPECT_EQ(Pixel_At(renderer, 10, 240), 0x000000u);
    EXPECT_EQ(Pixel_At(renderer, 990, 240), 0x000000u);
    EXPECT_EQ(Pixel_At(renderer, 181, 240), 0x103452u);
    EXPECT_EQ(Pixel_At(renderer, 818, 240), 0x0000FFu);
}
