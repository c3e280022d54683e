#include "Contact_Sheet.h"

#include "Output_Check.h"
#include "Png_File.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

// Digits, colon and point in 3x5 cells, one row of three bits a byte.
struct Glyph {
    char character;
    uint8_t rows[5];
};
constexpr Glyph Glyphs[] = {
    {'0', {7, 5, 5, 5, 7}}, {'1', {2, 6, 2, 2, 7}}, {'2', {7, 1, 7, 4, 7}}, {'3', {7, 1, 3, 1, 7}},
    {'4', {5, 5, 7, 1, 1}}, {'5', {7, 4, 7, 1, 7}}, {'6', {7, 4, 7, 5, 7}}, {'7', {7, 1, 1, 2, 2}},
    {'8', {7, 5, 7, 5, 7}}, {'9', {7, 5, 7, 1, 7}}, {':', {0, 2, 0, 2, 0}}, {'.', {0, 0, 0, 0, 2}},
};
constexpr int Glyph_Scale = 2;
constexpr int Glyph_Advance = 4 * Glyph_Scale;
constexpr int Label_Height = 5 * Glyph_Scale + 6;
constexpr int Margin = 4;
constexpr uint32_t Background = 0xFF202020;
constexpr uint32_t Ink = 0xFFE0E0E0;

struct Canvas {
    int width, height;
    std::vector<uint32_t> pixels;

    void fill(int x0, int y0, int w, int h, uint32_t colour) {
        for (int y = y0; y < y0 + h; ++y)
            for (int x = x0; x < x0 + w; ++x)
                pixels[size_t(y) * size_t(width) + size_t(x)] = colour;
    }

    void text(int x, int y, const char* characters) {
        for (; *characters != '\0'; ++characters, x += Glyph_Advance) {
            for (const Glyph& glyph : Glyphs) {
                if (glyph.character != *characters)
                    continue;
                for (int row = 0; row < 5; ++row)
                    for (int column = 0; column < 3; ++column)
                        if (glyph.rows[row] & (4 >> column))
                            fill(x + column * Glyph_Scale, y + row * Glyph_Scale, Glyph_Scale, Glyph_Scale,
                                 Ink);
            }
        }
    }
};

// Minutes, seconds and hundredths, as a clock shows them.
void Format_Time(double seconds, char* text, size_t size) {
    long hundredths = std::lround(seconds * 100);
    std::snprintf(text, size, "%ld:%02ld.%02ld", hundredths / 6000, hundredths / 100 % 60, hundredths % 100);
}

}

Contact_Sheet::Contact_Sheet(std::string path) : m_path(std::move(path)) { Check_Writable_File(m_path); }

void Contact_Sheet::frame(const Shown_Frame& frame) {
    if (frame.index % m_spacing != 0)
        return;
    m_width = frame.width / Reduction;
    m_height = frame.height / Reduction;
    // Each thumbnail pixel is the mean of the block it stands for, so that
    // thin lines stay visible.
    Thumbnail thumbnail{frame.seconds(), std::vector<uint8_t>(size_t(m_width) * size_t(m_height) * 4)};
    for (int y = 0; y < m_height; ++y) {
        for (int x = 0; x < m_width; ++x) {
            for (int channel = 0; channel < 4; ++channel) {
                int sum = 0;
                for (int dy = 0; dy < Reduction; ++dy) {
                    const uint8_t* row = frame.pixels + size_t(y * Reduction + dy) * size_t(frame.pitch);
                    for (int dx = 0; dx < Reduction; ++dx)
                        sum += row[(x * Reduction + dx) * 4 + channel];
                }
                thumbnail.pixels[(size_t(y) * size_t(m_width) + size_t(x)) * 4 + size_t(channel)] =
                    uint8_t((sum + Reduction * Reduction / 2) / (Reduction * Reduction));
            }
        }
    }
    m_kept.push_back(std::move(thumbnail));
    if (m_kept.size() == size_t(Kept_Limit)) {
        for (size_t i = 1; i < m_kept.size() / 2; ++i)
            m_kept[i] = std::move(m_kept[2 * i]);
        m_kept.resize(m_kept.size() / 2);
        m_spacing *= 2;
    }
}

void Contact_Sheet::finish() {
    const int cells = Columns * Rows;
    const int cell_height = m_height + Label_Height;
    Canvas sheet{Columns * (m_width + Margin) + Margin, Rows * (cell_height + Margin) + Margin, {}};
    sheet.pixels.assign(size_t(sheet.width) * size_t(sheet.height), Background);
    const size_t kept = m_kept.size();
    for (int cell = 0; cell < cells && size_t(cell) < kept; ++cell) {
        // The first and the last frame kept, and the rest evenly between.
        size_t pick = kept <= size_t(cells)
                          ? size_t(cell)
                          : size_t(std::lround(double(cell) * double(kept - 1) / double(cells - 1)));
        const Thumbnail& thumbnail = m_kept[pick];
        int x0 = Margin + (cell % Columns) * (m_width + Margin);
        int y0 = Margin + (cell / Columns) * (cell_height + Margin);
        for (int y = 0; y < m_height; ++y)
            std::memcpy(&sheet.pixels[size_t(y0 + y) * size_t(sheet.width) + size_t(x0)],
                        &thumbnail.pixels[size_t(y) * size_t(m_width) * 4], size_t(m_width) * 4);
        char label[32];
        Format_Time(thumbnail.seconds, label, sizeof label);
        sheet.text(x0 + 2, y0 + m_height + 3, label);
    }
    Write_Png(m_path, reinterpret_cast<const uint8_t*>(sheet.pixels.data()), sheet.width, sheet.height,
              sheet.width * 4);
}
