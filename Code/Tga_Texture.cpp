#include "Texture.h"

#include "Throw_Assertion.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr const char* Source_File = "Texture";

// A picture larger than this is taken for a damaged header.
constexpr long long Max_Pixel_Bytes = 64LL * 1024 * 1024;

[[noreturn]] void Refuse(const char* expression, const char* file_name, const std::string& reason) {
    std::string message = std::string("cannot load the picture ") + file_name + ": " + reason;
    QEV_Lib::Throw_Assertion(expression, message.c_str(), Source_File, 0);
}

// 0 for a depth that has no pixel size.
int Bytes_Per_Pixel(int depth) {
    switch (depth) {
    case 8:
        return 1;
    case 15:
    case 16:
        return 2;
    case 24:
        return 3;
    case 32:
        return 4;
    default:
        return 0;
    }
}

int Colour_Map_Entry_Bytes(int entry_bits) {
    int bytes = Bytes_Per_Pixel(entry_bits);
    return bytes != 0 ? bytes : (entry_bits + 7) / 8;
}

struct File_Closer {
    void operator()(FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<FILE, File_Closer>;

void Fill_With_Pixel(uint8_t* from, uint8_t* end, const uint8_t* pixel, int bytes_per_pixel) {
    for (; from < end; from += bytes_per_pixel)
        std::memcpy(from, pixel, bytes_per_pixel);
}

// A file that ends early leaves the last pixel read in every pixel after it
// (zeros when none could be read).
void Read_Raw_Pixels(uint8_t* buffer, FILE* file, int width, int height, int depth) {
    int bytes_per_pixel = Bytes_Per_Pixel(depth);
    size_t size = size_t(width) * height * bytes_per_pixel;
    size_t whole_pixels = std::fread(buffer, 1, size, file) / bytes_per_pixel;
    uint8_t last[4] = {};
    if (whole_pixels > 0)
        std::memcpy(last, buffer + (whole_pixels - 1) * bytes_per_pixel, bytes_per_pixel);
    Fill_With_Pixel(buffer + whole_pixels * bytes_per_pixel, buffer + size, last, bytes_per_pixel);
}

// Replaces pixel only when a whole one could be read.
void Read_Pixel(FILE* file, uint8_t* pixel, int bytes_per_pixel) {
    uint8_t read[4];
    if (std::fread(read, bytes_per_pixel, 1, file) == 1)
        std::memcpy(pixel, read, bytes_per_pixel);
}

// Packets cross rows freely; none writes past the end of the buffer.
void Read_Rle_Pixels(uint8_t* buffer, FILE* file, int width, int height, int depth) {
    int bytes_per_pixel = Bytes_Per_Pixel(depth);
    uint8_t* out = buffer;
    uint8_t* end = buffer + size_t(width) * height * bytes_per_pixel;
    uint8_t pixel[4] = {};
    int header;
    while (out < end && (header = std::fgetc(file)) != EOF) {
        size_t count = std::min<size_t>((header & 0x7F) + 1, (end - out) / bytes_per_pixel);
        bool run = header & 0x80;
        if (run)
            Read_Pixel(file, pixel, bytes_per_pixel);
        for (size_t i = 0; i < count; ++i, out += bytes_per_pixel) {
            if (!run)
                Read_Pixel(file, pixel, bytes_per_pixel);
            std::memcpy(out, pixel, bytes_per_pixel);
        }
    }
    Fill_With_Pixel(out, end, pixel, bytes_per_pixel);
}

class Tga_File {
public:
    void Load(const char* file_name);
    void Flip(bool mirror_columns, bool mirror_rows);

    // The 18-byte header, little-endian fields.
    uint8_t m_id_length = 0;
    uint8_t m_colour_map_type = 0;
    uint8_t m_image_type = 0;
    uint16_t m_first_entry = 0;
    int16_t m_colour_map_length = 0;
    uint8_t m_colour_map_entry_size = 0;
    uint16_t m_x_origin = 0;
    uint16_t m_y_origin = 0;
    int16_t m_width = 0;
    int16_t m_height = 0;
    uint8_t m_pixel_depth = 0;
    uint8_t m_descriptor = 0;

    int m_bytes_per_pixel = 0;
    std::vector<uint8_t> m_pixels;

private:
    void Read_Header(FILE* file, const char* file_name);
};

void Tga_File::Read_Header(FILE* file, const char* file_name) {
    uint8_t header[18];
    if (std::fread(header, sizeof header, 1, file) != 1)
        Refuse("fread(header) == 1", file_name, "the file ends inside the 18-byte header");
    auto word = [&](int offset) { return uint16_t(header[offset] | header[offset + 1] << 8); };
    m_id_length = header[0];
    m_colour_map_type = header[1];
    m_image_type = header[2];
    m_first_entry = word(3);
    m_colour_map_length = int16_t(word(5));
    m_colour_map_entry_size = header[7];
    m_x_origin = word(8);
    m_y_origin = word(10);
    m_width = int16_t(word(12));
    m_height = int16_t(word(14));
    m_pixel_depth = header[16];
    m_descriptor = header[17];

    bool known_type = m_image_type <= 3 || (m_image_type >= 9 && m_image_type <= 11);
    if (!known_type)
        Refuse("image type 0, 1-3 or 9-11", file_name,
               "image type " + std::to_string(m_image_type) + " is not supported");
    m_bytes_per_pixel = Bytes_Per_Pixel(m_pixel_depth);
    if (m_bytes_per_pixel == 0)
        Refuse("pixel depth 8, 15, 16, 24 or 32", file_name,
               "pixel depth " + std::to_string(m_pixel_depth) + " is not supported");
    if (m_width <= 0 || m_height <= 0)
        Refuse("width > 0 && height > 0", file_name,
               "the size " + std::to_string(m_width) + " x " + std::to_string(m_height) + " is empty");
    if (1LL * m_width * m_height * m_bytes_per_pixel > Max_Pixel_Bytes)
        Refuse("width * height * bytes per pixel <= 64 MiB", file_name,
               "the size " + std::to_string(m_width) + " x " + std::to_string(m_height) + " is too large");
}

void Tga_File::Load(const char* file_name) {
    File file(std::fopen(file_name, "rb"));
    if (!file)
        Refuse("file != 0", file_name, std::strerror(errno));
    Read_Header(file.get(), file_name);

    long skip = m_id_length;
    // The map is not applied: a colour-mapped picture keeps its indices.
    if (m_colour_map_type != 0 && m_colour_map_length > 0)
        skip += long(m_colour_map_length) * Colour_Map_Entry_Bytes(m_colour_map_entry_size);
    std::fseek(file.get(), skip, SEEK_CUR);

    m_pixels.assign(size_t(m_width) * m_height * m_bytes_per_pixel, 0);
    if (m_image_type >= 1 && m_image_type <= 3)
        Read_Raw_Pixels(m_pixels.data(), file.get(), m_width, m_height, m_pixel_depth);
    else if (m_image_type >= 9)
        Read_Rle_Pixels(m_pixels.data(), file.get(), m_width, m_height, m_pixel_depth);
    file.reset();

    if (m_descriptor < 16)
        Flip(false, true);
    else if (m_descriptor >= 24 && m_descriptor < 32)
        Flip(true, true);
}

void Tga_File::Flip(bool mirror_columns, bool mirror_rows) {
    std::vector<uint8_t> source = m_pixels;
    int n = m_bytes_per_pixel;
    for (int y = 0; y < m_height; ++y) {
        int source_y = mirror_rows ? m_height - 1 - y : y;
        for (int x = 0; x < m_width; ++x) {
            int source_x = mirror_columns ? m_width - 1 - x : x;
            std::memcpy(&m_pixels[(size_t(y) * m_width + x) * n],
                        &source[(size_t(source_y) * m_width + source_x) * n], n);
        }
    }
}

class Tga_Texture : public Texture {
public:
    int width() override { return m_width; }
    int height() override { return m_height; }
    const uint8_t* pixels() override { return m_pixels.get(); }
    int bytes_per_pixel() override { return m_bytes_per_pixel; }

    int m_bytes_per_pixel = 0;
    int m_width = 0;
    int m_height = 0;
    std::unique_ptr<uint8_t[]> m_pixels;
};

}

Holder<Texture> Load_Tga(const char* file_name) {
    auto* texture = new Tga_Texture;
    Holder<Texture> holder(texture);
    Tga_File reader;
    reader.Load(file_name);
    texture->m_width = reader.m_width;
    texture->m_height = reader.m_height;
    texture->m_bytes_per_pixel = reader.m_bytes_per_pixel;
    texture->m_pixels.reset(new uint8_t[reader.m_pixels.size()]);
    std::memcpy(texture->m_pixels.get(), reader.m_pixels.data(), reader.m_pixels.size());
    return holder;
}
