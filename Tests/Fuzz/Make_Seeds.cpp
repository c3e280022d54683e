// Writes small pictures of every kind the loaders read into DIR/tga and
// DIR/jpeg, the starting corpus of the fuzz targets.

#include "Test_Pictures.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: zizo-fuzz-seeds DIR\n");
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    const Bytes pixels = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    const struct {
        const char* name;
        Bytes file;
    } tga[] = {
        {"raw32", Tga_Bytes({.width = 2, .height = 2, .descriptor = 8}, 0, pixels)},
        {"rle32", Tga_Bytes({.image_type = 10, .width = 3, .height = 2}, 0, {0x83, 1, 2, 3, 4, 0x01, 5, 6, 7, 8, 9, 10, 11, 12})},
        {"grey", Tga_Bytes({.image_type = 3, .width = 4, .height = 2, .pixel_depth = 8, .descriptor = 24}, 0, {1, 2, 3, 4, 5, 6, 7, 8})},
        {"mapped", Tga_Bytes({.id_length = 2, .colour_map_type = 1, .image_type = 9, .colour_map_length = 2,
                              .colour_map_entry_size = 24, .width = 4, .pixel_depth = 8},
                             2 + 6, {0x81, 1, 0x01, 0, 1})},
        {"rgb24", Tga_Bytes({.width = 2, .pixel_depth = 24, .descriptor = 0}, 0, {1, 2, 3, 4, 5, 6})},
        {"rgb16", Tga_Bytes({.image_type = 10, .width = 2, .pixel_depth = 16}, 0, {0x81, 1, 2})},
        {"empty", Tga_Bytes({.image_type = 0, .width = 3, .height = 3}, 0, {})},
    };
    for (const auto& seed : tga)
        Write_File(dir / "tga" / seed.name, seed.file);

    auto colour = [](int x, int y, JSAMPLE* s) { s[0] = JSAMPLE(x * 16), s[1] = JSAMPLE(y * 16), s[2] = 128; };
    auto grey = [](int x, int y, JSAMPLE* s) { s[0] = JSAMPLE(x * y); };
    Bytes rgb = Jpeg_Bytes({.width = 16, .height = 16, .pixel = colour, .quality = 75});
    Write_File(dir / "jpeg" / "rgb", rgb);
    Write_File(dir / "jpeg" / "scrambled", Scrambled(rgb));
    Write_File(dir / "jpeg" / "grey", Jpeg_Bytes({.width = 9, .height = 7, .colour_space = JCS_GRAYSCALE, .pixel = grey}));
    Write_File(dir / "jpeg" / "marker", Jpeg_Bytes({.width = 8, .height = 8, .pixel = colour, .marker_bytes = 40}));
    return 0;
}
