#include "Tga_Writer.h"

#include <string_view>

namespace {

void Put_16(std::vector<uint8_t>& out, int value) {
    out.push_back(uint8_t(value & 0xFF));
    out.push_back(uint8_t((value >> 8) & 0xFF));
}

// Packets stay within a row, as other readers of the format expect.
void Put_Rle_Row(std::vector<uint8_t>& out, const uint8_t* row, int width) {
    int x = 0;
    while (x < width) {
        int run = 1;
        while (x + run < width && run < 128 && row[x + run] == row[x]) ++run;
        if (run >= 2) {
            out.push_back(uint8_t(0x80 | (run - 1)));
            out.push_back(row[x]);
            x += run;
            continue;
        }
        int literal = 1;
        while (x + literal < width && literal < 128 &&
               !(x + literal + 1 < width && row[x + literal] == row[x + literal + 1]))
            ++literal;
        out.push_back(uint8_t(literal - 1));
        out.insert(out.end(), row + x, row + x + literal);
        x += literal;
    }
}

}  // namespace

std::vector<uint8_t> Encode_Tga(const Grey_Image& image, Tga_Storage storage) {
    const bool mapped = storage == Tga_Storage::Mapped_Bottom_Up;
    const bool rle = storage == Tga_Storage::Rle_Bottom_Up || storage == Tga_Storage::Rle_Top_Down;
    const bool top_down = storage == Tga_Storage::Raw_Top_Down || storage == Tga_Storage::Rle_Top_Down;
    constexpr std::string_view id = "zizo";

    std::vector<uint8_t> out;
    out.push_back(mapped ? uint8_t(id.size()) : 0);
    out.push_back(mapped ? 1 : 0);
    out.push_back(mapped ? 1 : rle ? 11 : 3);
    Put_16(out, 0);
    Put_16(out, mapped ? 256 : 0);
    out.push_back(mapped ? 24 : 0);
    Put_16(out, 0);
    Put_16(out, 0);
    Put_16(out, image.width);
    Put_16(out, image.height);
    out.push_back(8);
    out.push_back(top_down ? 0x20 : 0x00);
    if (mapped) {
        out.insert(out.end(), id.begin(), id.end());
        for (int i = 0; i < 256; ++i) out.insert(out.end(), 3, uint8_t(i));
    }

    std::vector<uint8_t> row(size_t(image.width));
    for (int i = 0; i < image.height; ++i) {
        int y = top_down ? i : image.height - 1 - i;
        for (int x = 0; x < image.width; ++x) row[size_t(x)] = To_Byte(image.at(x, y));
        if (rle)
            Put_Rle_Row(out, row.data(), image.width);
        else
            out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}
