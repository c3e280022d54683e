#include "Y4m_Video.h"

#include <array>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <stdexcept>

namespace {

// Each channel's share of Y, Cb and Cr in 16.16 fixed point, offsets and
// rounding folded into the red table.
struct Colour_Tables {
    std::array<int32_t, 256> y[3], cb[3], cr[3];

    Colour_Tables() {
        const double kr = 0.2126, kb = 0.0722, kg = 1.0 - kr - kb;
        const double weights_y[3] = {kr, kg, kb};
        const double weights_cb[3] = {-kr / (2 * (1 - kb)), -kg / (2 * (1 - kb)), 0.5};
        const double weights_cr[3] = {0.5, -kg / (2 * (1 - kr)), -kb / (2 * (1 - kr))};
        for (int channel = 0; channel < 3; ++channel) {
            for (int value = 0; value < 256; ++value) {
                double v = value / 255.0 * 65536.0;
                y[channel][value] = int32_t(std::lround(v * 219.0 * weights_y[channel]));
                cb[channel][value] = int32_t(std::lround(v * 224.0 * weights_cb[channel]));
                cr[channel][value] = int32_t(std::lround(v * 224.0 * weights_cr[channel]));
            }
        }
        for (int value = 0; value < 256; ++value) {
            y[0][value] += (16 << 16) + (1 << 15);
            cb[0][value] += (128 << 16) + (1 << 15);
            cr[0][value] += (128 << 16) + (1 << 15);
        }
    }
};

const Colour_Tables& Tables() {
    static const Colour_Tables tables;
    return tables;
}

}

Y4m_Video::Y4m_Video(std::FILE* stream, std::string name, int scale)
    : m_stream(stream), m_name(std::move(name)), m_scale(scale) {}

void Y4m_Video::write(const void* data, size_t size) {
    if (std::fwrite(data, 1, size, m_stream) != size)
        throw std::runtime_error("cannot write " + m_name + ": " + std::strerror(errno));
}

void Y4m_Video::frame(const Shown_Frame& frame) {
    const int width = frame.width * m_scale, height = frame.height * m_scale;
    if (!m_header_written) {
        std::string header = "YUV4MPEG2 W" + std::to_string(width) + " H" + std::to_string(height) + " F" +
                             std::to_string(frame.frames_per_second) +
                             ":1 Ip A1:1 C444 XCOLORRANGE=LIMITED\n";
        write(header.data(), header.size());
        m_header_written = true;
    }
    const Colour_Tables& t = Tables();
    const size_t plane = size_t(width) * size_t(height);
    m_planes.resize(3 * plane);
    uint8_t* y_plane = m_planes.data();
    uint8_t* cb_plane = y_plane + plane;
    uint8_t* cr_plane = cb_plane + plane;
    for (int source_y = 0; source_y < frame.height; ++source_y) {
        const uint8_t* pixel = frame.pixels + size_t(source_y) * size_t(frame.pitch);
        size_t row = size_t(source_y) * size_t(m_scale) * size_t(width);
        for (int x = 0; x < frame.width; ++x, pixel += 4) {
            const uint8_t b = pixel[0], g = pixel[1], r = pixel[2];
            const uint8_t luma = uint8_t((t.y[0][r] + t.y[1][g] + t.y[2][b]) >> 16);
            const uint8_t blue_difference = uint8_t((t.cb[0][r] + t.cb[1][g] + t.cb[2][b]) >> 16);
            const uint8_t red_difference = uint8_t((t.cr[0][r] + t.cr[1][g] + t.cr[2][b]) >> 16);
            for (int copy = 0; copy < m_scale; ++copy) {
                size_t at = row + size_t(x) * size_t(m_scale) + size_t(copy);
                y_plane[at] = luma;
                cb_plane[at] = blue_difference;
                cr_plane[at] = red_difference;
            }
        }
        // The remaining rows of this enlarged row repeat the first.
        for (int copy = 1; copy < m_scale; ++copy) {
            for (uint8_t* p : {y_plane, cb_plane, cr_plane})
                std::memcpy(p + row + size_t(copy) * size_t(width), p + row, size_t(width));
        }
    }
    write("FRAME\n", 6);
    write(m_planes.data(), m_planes.size());
}

void Y4m_Video::finish() {
    if (std::fflush(m_stream) != 0)
        throw std::runtime_error("cannot write " + m_name + ": " + std::strerror(errno));
}
