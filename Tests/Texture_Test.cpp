#include "Test_Pictures.h"
#include "Texture.h"
#include "Throw_Assertion.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>

namespace {

Bytes Texture_Bytes(Texture* texture) {
    const uint8_t* p = texture->pixels();
    return Bytes(p, p + size_t(texture->width()) * texture->height() * texture->bytes_per_pixel());
}

// Loads the file and returns the failure's text, or "" when it loaded.
std::string Failure_Of(Holder<Texture> (*load)(const char*), const std::string& file,
                       Holder<Texture>* texture) {
    try {
        *texture = load(file.c_str());
        return "";
    } catch (const QEV_Lib::Assertion_Failure& failure) {
        EXPECT_EQ(failure.m_file, "Texture");
        EXPECT_NE(failure.m_message.find(file), std::string::npos) << failure.m_message;
        return failure.m_message;
    }
}

// Four distinct 32-bit pixels, bytes blue, green, red, alpha.
const Bytes P = {0x01, 0x02, 0x03, 0x80};
const Bytes Q = {0x11, 0x12, 0x13, 0x90};
const Bytes R = {0x21, 0x22, 0x23, 0xA0};
const Bytes S = {0x31, 0x32, 0x33, 0xFF};

Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

}

TEST(Load_Tga, Cases) {
    struct Case {
        const char* name;
        Bytes file;
        int width, height, bytes_per_pixel;
        Bytes pixels;
    };
    // A 2x2 picture P Q / R S, top row first.
    const Bytes top_first = Cat({P, Q, R, S});
    const Bytes bottom_first = Cat({R, S, P, Q});
    const Case cases[] = {
        {"descriptor 8 reverses the rows", Tga_Bytes({.width = 2, .height = 2, .descriptor = 8}, 0, bottom_first),
         2, 2, 4, top_first},
        {"descriptor 40 keeps file order", Tga_Bytes({.width = 2, .height = 2, .descriptor = 40}, 0, top_first),
         2, 2, 4, top_first},
        {"descriptor 16 keeps file order", Tga_Bytes({.width = 2, .height = 2, .descriptor = 16}, 0, top_first),
         2, 2, 4, top_first},
        {"descriptor 24 reverses rows and columns",
         Tga_Bytes({.width = 2, .height = 2, .descriptor = 24}, 0, Cat({S, R, Q, P})), 2, 2, 4, top_first},
        {"descriptor 48 keeps file order", Tga_Bytes({.width = 2, .height = 2, .descriptor = 48}, 0, top_first),
         2, 2, 4, top_first},
        {"run 0x83 writes four, literal 0x02 reads three",
         Tga_Bytes({.image_type = 10, .width = 7}, 0, Cat({{0x83}, P, {0x02}, Q, R, S})), 7, 1, 4,
         Cat({P, P, P, P, Q, R, S})},
        {"packets cross rows", Tga_Bytes({.image_type = 10, .width = 2, .height = 2}, 0, Cat({{0x82}, P, {0x00}, Q})),
         2, 2, 4, Cat({P, P, P, Q})},
        {"a run past the end stops there",
         Tga_Bytes({.image_type = 10, .width = 2}, 0, Cat({{0xFF}, P, {0x7F}, Q, Q, Q})), 2, 1, 4, Cat({P, P})},
        {"a literal past the end stops there", Tga_Bytes({.image_type = 10, .width = 2}, 0, Cat({{0x05}, P, Q, R})),
         2, 1, 4, Cat({P, Q})},
        {"8-bit grey", Tga_Bytes({.image_type = 3, .width = 3, .pixel_depth = 8}, 0, {7, 8, 9}), 3, 1, 1, {7, 8, 9}},
        {"colour-mapped gives indices, after an id field and a 24-bit map",
         Tga_Bytes({.id_length = 5, .colour_map_type = 1, .image_type = 1, .colour_map_length = 2,
                    .colour_map_entry_size = 24, .width = 3, .pixel_depth = 8},
                   5 + 2 * 3, {1, 0, 1}),
         3, 1, 1, {1, 0, 1}},
        {"a 12-bit map takes two bytes an entry",
         Tga_Bytes({.colour_map_type = 1, .image_type = 9, .colour_map_length = 3, .colour_map_entry_size = 12,
                    .width = 3, .pixel_depth = 8},
                   3 * 2, {0x82, 4}),
         3, 1, 1, {4, 4, 4}},
        {"24-bit is blue, green, red",
         Tga_Bytes({.width = 2, .pixel_depth = 24}, 0, {1, 2, 3, 4, 5, 6}), 2, 1, 3, {1, 2, 3, 4, 5, 6}},
        {"15-bit gives two bytes", Tga_Bytes({.width = 2, .pixel_depth = 15}, 0, {1, 2, 3, 4}), 2, 1, 2,
         {1, 2, 3, 4}},
        {"type 0 gives zeros", Tga_Bytes({.image_type = 0, .width = 3, .height = 2, .pixel_depth = 16}, 0, {9, 9}),
         3, 2, 2, Bytes(12, 0)},
        {"a truncated file repeats the last whole pixel",
         Tga_Bytes({.width = 4}, 0, Cat({P, Q, {0x55, 0x55}})), 4, 1, 4, Cat({P, Q, Q, Q})},
        {"no pixel data at all gives zeros", Tga_Bytes({.width = 2}, 0, {}), 2, 1, 4, Bytes(8, 0)},
        {"a truncated run-length file repeats the last pixel",
         Tga_Bytes({.image_type = 10, .width = 5}, 0, Cat({{0x03}, P, Q, {0x55, 0x55}})), 5, 1, 4,
         Cat({P, Q, Q, Q, Q})},
    };
    Temp_Dir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string file = (dir.path / "picture.tga").string();
        Write_File(file, c.file);
        Holder<Texture> texture;
        ASSERT_EQ(Failure_Of(Load_Tga, file, &texture), "");
        EXPECT_EQ(texture->width(), c.width);
        EXPECT_EQ(texture->height(), c.height);
        EXPECT_EQ(texture->bytes_per_pixel(), c.bytes_per_pixel);
        EXPECT_EQ(Texture_Bytes(texture.get()), c.pixels);
    }
    // Read as little-endian words the pixels are 0xAARRGGBB with the file's alpha.
    Write_File(dir.path / "picture.tga", Tga_Bytes({.descriptor = 8}, 0, P));
    Holder<Texture> texture = Load_Tga((dir.path / "picture.tga").c_str());
    uint32_t word;
    std::memcpy(&word, texture->pixels(), 4);
    EXPECT_EQ(word, 0x80030201u);
}

TEST(Load_Tga, RefusesBadHeadersNamingFileAndReason) {
    const struct {
        Bytes file;
        const char* reason;
    } cases[] = {
        {Tga_Bytes({.image_type = 4}, 0, P), "image type 4"},
        {Tga_Bytes({.image_type = 12}, 0, P), "image type 12"},
        {Tga_Bytes({.pixel_depth = 12}, 0, P), "pixel depth 12"},
        {Tga_Bytes({.width = 0}, 0, P), "0 x 1"},
        {Tga_Bytes({.height = -1}, 0, P), "1 x -1"},
        {Tga_Bytes({.width = 4097, .height = 4096}, 0, P), "too large"},
        {Bytes(17, 0), "header"},
    };
    Temp_Dir dir;
    std::string file = (dir.path / "bad.tga").string();
    for (const auto& c : cases) {
        Write_File(file, c.file);
        Holder<Texture> texture;
        EXPECT_NE(Failure_Of(Load_Tga, file, &texture).find(c.reason), std::string::npos) << c.reason;
    }
    // The largest size allowed still loads.
    Write_File(file, Tga_Bytes({.image_type = 0, .width = 4096, .height = 4096}, 0, {}));
    EXPECT_EQ(Load_Tga(file.c_str())->height(), 4096);

    Holder<Texture> texture;
    std::string missing = (dir.path / "missing.tga").string();
    EXPECT_NE(Failure_Of(Load_Tga, missing, &texture).find(std::strerror(ENOENT)), std::string::npos);
}
