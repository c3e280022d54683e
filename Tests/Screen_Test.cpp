#include "Screen.h"
#include "Test_Platform.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

uint16_t Surface_Word16(const Platform::Virtual_Display& display, int x, int y) {
    uint16_t value;
    std::memcpy(&value, display.back_buffer.data() + y * display.pitch + 2 * x, 2);
    return value;
}

uint32_t Surface_Word32(const Platform::Virtual_Display& display, int x, int y) {
    uint32_t value;
    std::memcpy(&value, display.back_buffer.data() + y * display.pitch + 4 * x, 4);
    return value;
}

}

TEST(Screen, SixteenBitDisplayConvertsEveryPixel) {
    Test_Platform platform;
    platform.backend.display_config.refuse_32_bits = true;
    platform.backend.display_config.extra_pitch_bytes = 6;
    DDraw_Screen screen(nullptr, nullptr, 640, 480, 32);
    EXPECT_EQ(screen.bits_per_pixel(), 32);
    EXPECT_EQ(screen.bytes_per_pixel(), 4);
    const struct {
        uint32_t pixel;
        uint16_t word;
    } cases[] = {
        {0x00FF0000, 0xF800}, {0x0000FF00, 0x07E0}, {0x000000FF, 0x001F}, {0x00FFFFFF, 0xFFFF},
        {0xFFFF0000, 0xF800}, {0xFF0000FF, 0x001F}, {0xFFFFFFFF, 0xFFFF}, {0x00123456, 0x11AA},
    };
    int x = 0;
    for (const auto& c : cases)
        screen.pixels()[479 * 640 + x++] = c.pixel;
    ASSERT_EQ(screen.present(), 0);
    const Platform::Virtual_Display& display = *platform.backend.display();
    EXPECT_EQ(display.bits, 16);
    x = 0;
    for (const auto& c : cases)
        EXPECT_EQ(Surface_Word16(display, x++, 479), c.word) << std::hex << c.pixel;
    for (int y = 0; y < 480; ++y)
        for (int pad = 1280; pad < display.pitch; ++pad)
            ASSERT_EQ(display.back_buffer[y * display.pitch + pad], Platform::Virtual_Display::Padding_Byte);
}

TEST(Screen, ThirtyTwoBitCopyKeepsTheTopByteAndThePadding) {
    Test_Platform platform;
    platform.backend.display_config.extra_pitch_bytes = 12;
    DDraw_Screen screen(nullptr, nullptr, 640, 480, 32);
    screen.pixels()[0] = 0x12345678;
    screen.pixels()[640 * 480 - 1] = 0xFF00FF00;
    ASSERT_EQ(screen.present(), 0);
    const Platform::Virtual_Display& display = *platform.backend.display();
    EXPECT_EQ(Surface_Word32(display, 0, 0), 0x12345678u);
    EXPECT_EQ(Surface_Word32(display, 639, 479), 0xFF00FF00u);
    for (int y = 0; y < 480; ++y)
        for (int pad = 2560; pad < display.pitch; ++pad)
            ASSERT_EQ(display.back_buffer[y * display.pitch + pad], Platform::Virtual_Display::Padding_Byte);
    EXPECT_EQ(display.flips, 1);
    EXPECT_FALSE(platform.backend.cursor_shown);
}

TEST(Screen, BeginFrameModesAndClear) {
    Test_Platform platform;
    DDraw_Screen screen(nullptr, nullptr, 640, 480, 32);
    uint32_t* pixels = screen.pixels();
    for (int i = 0; i < 640 * 480; ++i)
        EXPECT_EQ(pixels[i], 0u) << i;
    pixels[5] = 0xFF808001;
    screen.begin_frame(2);
    EXPECT_EQ(pixels[5], 0x7F404000u);
    for (int mode : {0, 3, -1}) {
        screen.begin_frame(mode);
        EXPECT_EQ(pixels[5], 0x7F404000u) << mode;
    }
    screen.begin_frame(1);
    EXPECT_EQ(pixels[5], 0u);
    pixels[640 * 480 - 1] = 0xFFFFFFFF;
    screen.clear();
    EXPECT_EQ(pixels[640 * 480 - 1], 0u);
}

TEST(Screen, AFailedLockCopiesAndFlipsNothing) {
    Test_Platform platform;
    platform.backend.display_config.failing_locks = 1;
    DDraw_Screen screen(nullptr, nullptr, 640, 480, 32);
    screen.pixels()[0] = 0xFFFFFFFF;
    EXPECT_NE(screen.present(), 0);
    const Platform::Virtual_Display& display = *platform.backend.display();
    EXPECT_EQ(display.back_buffer[0], Platform::Virtual_Display::Padding_Byte);
    EXPECT_EQ(display.flips, 0);
    EXPECT_EQ(screen.present(), 0);
    EXPECT_EQ(Surface_Word32(display, 0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(display.flips, 1);
}
