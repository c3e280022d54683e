#include "Test_Pictures.h"
#include "Texture.h"
#include "Throw_Assertion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <functional>
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

namespace {

uint32_t Word_At(Texture* texture, int x, int y) {
    uint32_t word;
    std::memcpy(&word, texture->pixels() + (size_t(y) * texture->width() + x) * 4, 4);
    return word;
}

bool Near(uint32_t word, uint32_t expected, int tolerance = 3) {
    for (int shift = 0; shift < 32; shift += 8)
        if (std::abs(int((word >> shift) & 0xFF) - int((expected >> shift) & 0xFF)) > tolerance)
            return false;
    return true;
}

const Bytes Sof0 = {0xFF, 0xC0};

// Noise that compresses badly, so that the file spans many 4096-byte refills.
Jpeg_Picture Noisy(int width, int height) {
    auto pixel = [](int x, int y, JSAMPLE* s) {
        uint32_t h = (uint32_t(x) * 73856093u ^ uint32_t(y) * 19349663u) * 2654435761u;
        s[0] = JSAMPLE(h >> 24), s[1] = JSAMPLE(h >> 16), s[2] = JSAMPLE(x * 4);
    };
    // libjpeg skips the marker, across two refills.
    return {.width = width, .height = height, .pixel = pixel, .marker_bytes = 9000};
}

}

TEST(Load_Jpeg, Cases) {
    Jpeg_Picture red{.width = 24, .height = 8, .pixel = [](int, int, JSAMPLE* s) { s[0] = 255, s[1] = s[2] = 0; }};
    Jpeg_Picture grey{.width = 8, .height = 8, .colour_space = JCS_GRAYSCALE,
                      .pixel = [](int x, int, JSAMPLE* s) { s[0] = JSAMPLE(x < 4 ? 40 : 200); }};
    Jpeg_Picture cmyk{.width = 8, .height = 8, .colour_space = JCS_CMYK,
                      .pixel = [](int, int, JSAMPLE* s) { s[0] = s[1] = s[2] = s[3] = 100; }};

    const Bytes noisy = Jpeg_Bytes(Noisy(128, 128));
    ASSERT_GT(noisy.size(), 3 * 4096u);
    Bytes plain_looking = Scrambled(noisy);
    plain_looking[0] = 0xFF;
    const Bytes truncated(noisy.begin(), noisy.begin() + noisy.size() / 2);
    // The frame header claims 8192 x 8192.
    Bytes huge = Jpeg_Bytes(red);
    auto frame = std::search(huge.begin(), huge.end(), Sof0.begin(), Sof0.end());
    ASSERT_NE(frame, huge.end());
    frame[5] = frame[7] = 0x20, frame[6] = frame[8] = 0;

    Temp_Dir dir;
    Write_File(dir.path / "noisy.jpg", noisy);
    Holder<Texture> reference = Load_Jpeg((dir.path / "noisy.jpg").c_str());
    const Bytes reference_pixels = Texture_Bytes(reference.get());

    const struct {
        const char* name;
        Bytes file;
        const char* failure;   // a part of the report's message, or null when it loads
        const char* warning;   // what libjpeg says on stderr
        std::function<void(Texture*)> check;
    } cases[] = {
        {"pure red", Jpeg_Bytes(red), nullptr, nullptr,
         [](Texture* t) {
             EXPECT_EQ(t->width(), 24);
             EXPECT_EQ(t->height(), 8);
             EXPECT_EQ(t->bytes_per_pixel(), 4);
             for (int i = 0; i < 24 * 8; ++i)
                 EXPECT_TRUE(Near(Word_At(t, i % 24, i / 24), 0xFFFF0000)) << std::hex << Word_At(t, i % 24, i / 24);
         }},
        {"scrambled gives the plain picture", Scrambled(noisy), nullptr, nullptr,
         [&](Texture* t) { EXPECT_EQ(Texture_Bytes(t), reference_pixels); }},
        {"greyscale becomes RGB", Jpeg_Bytes(grey), nullptr, nullptr,
         [](Texture* t) {
             EXPECT_TRUE(Near(Word_At(t, 0, 3), 0xFF282828)) << std::hex << Word_At(t, 0, 3);
             EXPECT_TRUE(Near(Word_At(t, 7, 3), 0xFFC8C8C8)) << std::hex << Word_At(t, 7, 3);
         }},
        {"a truncated file decodes with a warning", truncated, nullptr, "Premature end of JPEG file",
         [&](Texture* t) {
             ASSERT_EQ(t->width(), 128);
             ASSERT_EQ(t->height(), 128);
             // The rows before the cut decode as in the whole file.
             EXPECT_TRUE(std::equal(reference_pixels.begin(), reference_pixels.begin() + 128 * 4 * 8, t->pixels()));
         }},
        {"a first byte 0xFF is never descrambled", plain_looking, "\"JPG Error\"", nullptr, nullptr},
        {"an empty file", {}, "Empty input file", "Empty input file", nullptr},
        {"not a JPEG file", Tga_Bytes({}, 0, P), "\"JPG Error\"", "Not a JPEG file", nullptr},
        {"CMYK is refused", Jpeg_Bytes(cmyk), "CMYK", nullptr, nullptr},
        {"an absurd size is refused", huge, "too large", nullptr, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string file = (dir.path / "picture.jpg").string();
        Write_File(file, c.file);
        Holder<Texture> texture;
        testing::internal::CaptureStderr();
        std::string failure = Failure_Of(Load_Jpeg, file, &texture);
        std::string said = testing::internal::GetCapturedStderr();
        if (c.warning) {
            EXPECT_NE(said.find(c.warning), std::string::npos) << said;
        }
        if (!c.failure) {
            ASSERT_EQ(failure, "");
            c.check(texture.get());
        } else {
            EXPECT_NE(failure.find(c.failure), std::string::npos) << failure;
        }
    }
}

TEST(Load_Jpeg, ReportsLibjpegErrorsAsTheJpgErrorCheck) {
    Temp_Dir dir;
    std::string file = (dir.path / "empty.jpg").string();
    Write_File(file, {});
    testing::internal::CaptureStderr();
    try {
        Load_Jpeg(file.c_str());
        ADD_FAILURE() << "an empty file loaded";
    } catch (const QEV_Lib::Assertion_Failure& failure) {
        EXPECT_EQ(failure.m_expression, "false");
        EXPECT_EQ(failure.m_message.rfind("\"JPG Error\"", 0), 0u) << failure.m_message;
        EXPECT_EQ(failure.m_file, "Texture");
        EXPECT_EQ(failure.m_line, 100u);
    }
    testing::internal::GetCapturedStderr();

    Holder<Texture> texture;
    std::string missing = (dir.path / "missing.jpg").string();
    EXPECT_NE(Failure_Of(Load_Jpeg, missing, &texture).find(std::strerror(ENOENT)), std::string::npos);
}
