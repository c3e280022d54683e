#pragma once

// Writers for small picture files: TGA byte by byte, JPEG through libjpeg's
// compressor, and the XOR key stream of scrambled pictures.

#include "Scramble_Key.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <jpeglib.h>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

using Bytes = std::vector<uint8_t>;

struct Tga_Header {
    uint8_t id_length = 0;
    uint8_t colour_map_type = 0;
    uint8_t image_type = 2;
    int16_t colour_map_length = 0;
    uint8_t colour_map_entry_size = 0;
    int16_t width = 1;
    int16_t height = 1;
    uint8_t pixel_depth = 32;
    uint8_t descriptor = 40;
};

// The header, then filler_bytes of 0xEE (identification field and colour
// map, as the caller counts them), then the pixel data as given.
inline Bytes Tga_Bytes(const Tga_Header& h, size_t filler_bytes, const Bytes& pixel_data) {
    auto word = [](int16_t v) { return Bytes{uint8_t(v & 0xFF), uint8_t((v >> 8) & 0xFF)}; };
    Bytes file{h.id_length, h.colour_map_type, h.image_type, 0, 0};
    for (const Bytes& part : {word(h.colour_map_length), Bytes{h.colour_map_entry_size}, word(0), word(0),
                              word(h.width), word(h.height), Bytes{h.pixel_depth, h.descriptor}})
        file.insert(file.end(), part.begin(), part.end());
    file.insert(file.end(), filler_bytes, 0xEE);
    file.insert(file.end(), pixel_data.begin(), pixel_data.end());
    return file;
}

struct Jpeg_Picture {
    int width = 16;
    int height = 16;
    J_COLOR_SPACE colour_space = JCS_RGB; // JCS_GRAYSCALE and JCS_CMYK too
    // The samples of pixel (x, y), one per component, written to sample.
    std::function<void(int x, int y, JSAMPLE* sample)> pixel;
    int quality = 95;
    size_t marker_bytes = 0; // an APP3 marker of this many bytes after the header
};

inline Bytes Jpeg_Bytes(const Jpeg_Picture& picture) {
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* memory = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &memory, &size);
    info.image_width = picture.width;
    info.image_height = picture.height;
    info.in_color_space = picture.colour_space;
    info.input_components = picture.colour_space == JCS_GRAYSCALE ? 1 : picture.colour_space == JCS_CMYK ? 4 : 3;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, picture.quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    if (picture.marker_bytes > 0) {
        Bytes marker(picture.marker_bytes);
        for (size_t i = 0; i < marker.size(); ++i)
            marker[i] = uint8_t(i * 7);
        jpeg_write_marker(&info, JPEG_APP0 + 3, marker.data(), unsigned(marker.size()));
    }
    Bytes row(size_t(picture.width) * info.input_components);
    while (info.next_scanline < info.image_height) {
        for (int x = 0; x < picture.width; ++x)
            picture.pixel(x, int(info.next_scanline), &row[size_t(x) * info.input_components]);
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    Bytes file(memory, memory + size);
    jpeg_destroy_compress(&info);
    std::free(memory);
    return file;
}

// Scrambling and descrambling are the same XOR.
inline Bytes Scrambled(Bytes file) {
    uint8_t key = Scramble_Key_Start;
    for (uint8_t& byte : file) {
        byte ^= key;
        key = uint8_t(key + Scramble_Key_Step);
    }
    return file;
}

inline void Write_File(const std::filesystem::path& path, const Bytes& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!out.flush())
        throw std::runtime_error("cannot write " + path.string());
}

// A fresh directory of its own, removed with everything in it.
struct Temp_Dir {
    Temp_Dir()
        : path(std::filesystem::temp_directory_path() /
               ("zizo-test-" + std::to_string(getpid()) + "-" + std::to_string(++count()))) {
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
    }
    ~Temp_Dir() { std::filesystem::remove_all(path); }
    static int& count() {
        static int n = 0;
        return n;
    }
    std::filesystem::path path;
};

// The show starts by loading texture/cinemascope.jpg from the working
// directory. Where the data has none, a plain grey one is put in its place;
// written under another name and renamed, so that tests running at the same
// time never read half a file.
inline void Ensure_Letterbox_Picture() {
    const std::filesystem::path file = "texture/cinemascope.jpg";
    if (std::filesystem::exists(file))
        return;
    Jpeg_Picture picture{.width = 640, .height = 360, .pixel = [](int, int, JSAMPLE* s) { s[0] = s[1] = s[2] = 90; }};
    std::filesystem::path part = file.string() + "." + std::to_string(getpid());
    Write_File(part, Jpeg_Bytes(picture));
    std::filesystem::rename(part, file);
}
