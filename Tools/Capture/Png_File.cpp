#include "Png_File.h"

#include <png.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace {

void Append(png_structp png, png_bytep data, size_t length) {
    auto* bytes = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    bytes->insert(bytes->end(), data, data + length);
}

void Flush(png_structp) {}

// libpng reports errors by longjmp, so nothing with a destructor lives in
// this frame; the encoded bytes go to the caller's buffer.
bool Encode(std::vector<uint8_t>* out, const uint8_t* pixels, int width, int height, int pitch) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr)
        return false;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, out, Append, Flush);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_set_bgr(png);
    png_set_filler(png, 0, PNG_FILLER_AFTER);
    for (int y = 0; y < height; ++y)
        png_write_row(png, pixels + size_t(y) * size_t(pitch));
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

}

void Write_Png(const std::string& path, const uint8_t* pixels, int width, int height, int pitch) {
    std::vector<uint8_t> bytes;
    if (!Encode(&bytes, pixels, width, height, pitch))
        throw std::runtime_error("cannot encode the PNG picture " + path);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        throw std::runtime_error("cannot write " + path + ": " + std::strerror(errno));
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (std::fclose(file) != 0 || !written)
        throw std::runtime_error("cannot write " + path + ": " + std::strerror(errno));
}
