#include "Screen.h"

#include <cstring>

Screen::~Screen() {}

DDraw_Screen::DDraw_Screen(Platform::Instance, Platform::Window window, int width, int height, int bits)
    : m_window(window), m_width(width), m_height(height), m_bits(bits), m_bytes(bits / 8) {
    m_display = Platform::Current_Backend().create_display();
    m_display->set_cooperative_level(m_window);
    m_bits = 32;
    m_bytes = 4;
    if (m_display->set_display_mode(640, 480, 32) != 0) {
        m_display->set_display_mode(640, 480, 16);
        m_bits = 16;
        m_bytes = 2;
    }
    m_display->create_primary_surface(1);
    m_display->find_back_buffer();
    Platform::Current_Backend().show_cursor(false);
    int surface_bits = m_display->surface_bits();
    m_bits = surface_bits != 0 ? surface_bits : bits;
    if (m_bits == 16)
        m_bytes = 2;
    else if (m_bits == 32)
        m_bytes = 4;
    m_buffer.reset(new uint32_t[size_t(m_width) * m_height]());
}

DDraw_Screen::~DDraw_Screen() {}

void DDraw_Screen::begin_frame(int mode) {
    size_t bytes = size_t(m_width) * m_height * 4;
    if (mode == 1) {
        std::memset(m_buffer.get(), 0, bytes);
    } else if (mode == 2) {
        // Halving every byte of a word at once: shift, then drop the bit that
        // crossed in from the byte above.
        uint32_t* pixel = m_buffer.get();
        for (size_t i = 0; i < bytes / 4; ++i)
            pixel[i] = (pixel[i] >> 1) & 0x7F7F7F7F;
    }
}

int DDraw_Screen::present() {
    void* surface = nullptr;
    int pitch = 0;
    int result = m_display->lock_back_buffer(&surface, &pitch);
    if (result != 0)
        return result;
    uint8_t* rows = static_cast<uint8_t*>(surface);
    if (m_bits == 32) {
        for (int y = 0; y < m_height; ++y)
            std::memcpy(rows + size_t(y) * pitch, m_buffer.get() + size_t(y) * m_width, size_t(m_width) * 4);
    } else if (m_bits == 16) {
        for (int y = 0; y < m_height; ++y) {
            const uint32_t* source = m_buffer.get() + size_t(y) * m_width;
            uint8_t* row = rows + size_t(y) * pitch;
            for (int x = 0; x < m_width; ++x) {
                uint32_t p = source[x];
                uint16_t value = uint16_t(((p >> 8) & 0xF800) | ((p >> 5) & 0x07E0) | ((p >> 3) & 0x001F));
                std::memcpy(row + 2 * x, &value, 2);
            }
        }
    }
    m_display->unlock_back_buffer();
    return m_display->flip();
}

uint32_t* DDraw_Screen::pixels() { return m_buffer.get(); }

int DDraw_Screen::width() { return m_width; }

int DDraw_Screen::height() { return m_height; }

int DDraw_Screen::bits_per_pixel() { return 32; }

int DDraw_Screen::bytes_per_pixel() { return 4; }

void DDraw_Screen::clear() {
    uint32_t* pixel = m_buffer.get();
    for (size_t i = 0, n = size_t(m_width) * m_height; i < n; ++i)
        pixel[i] = 0;
}
