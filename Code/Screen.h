#pragma once

#include "Platform.h"

#include <cstdint>
#include <memory>

// The 32-bit frame buffer every scene draws into: width * height pixels
// 0xAARRGGBB, row-major, no padding.
class Screen {
public:
    virtual ~Screen();
    // 0: keep the pixels, 1: zero every byte, 2: halve every byte.
    virtual void begin_frame(int mode) = 0;
    virtual int present() = 0;
    virtual uint32_t* pixels() = 0;
    virtual int width() = 0;
    virtual int height() = 0;
    virtual int bits_per_pixel() = 0;
    virtual int bytes_per_pixel() = 0;
    virtual void clear() = 0;
};

// The frame buffer shown through a full-screen display with one back buffer,
// converted to RGB565 when the display runs at 16 bits.
class DDraw_Screen : public Screen {
public:
    DDraw_Screen(Platform::Instance instance, Platform::Window window, int width, int height, int bits);
    ~DDraw_Screen() override;

    void begin_frame(int mode) override;
    int present() override;
    uint32_t* pixels() override;
    int width() override;
    int height() override;
    int bits_per_pixel() override;
    int bytes_per_pixel() override;
    void clear() override;

private:
    Platform::Window m_window;
    int m_width;
    int m_height;
    int m_bits;
    int m_bytes;
    std::unique_ptr<uint32_t[]> m_buffer;
    std::unique_ptr<Platform::Display> m_display;
};
