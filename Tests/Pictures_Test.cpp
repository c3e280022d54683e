// The pictures zizo-data makes: every file loads with the show's loaders at
// the size its scene needs, the files take every loader path, and the
// generator repeats itself byte for byte.

#include "File_Io.h"
#include "Pictures.h"
#include "Texture.h"
#include "Tga_Writer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

struct Expected {
    std::string file;
    int width;
    int min_height;
    int max_height;
    int bytes_per_pixel;
};

std::vector<Expected> Every_Picture() {
    std::vector<Expected> list = {
        {"texture/cinemascope.jpg", 640, 1, 420, 4},
        {"texture/mafia_368.jpg", 640, 368, 368, 4},
    };
    for (const char* name : {"teksture_krazy", "teksture", "trash_punanen", "joomu", "trash_sininen_1",
                             "trash_total_vihree"})
        list.push_back({std::string("texture/") + name + ".jpg", 256, 256, 256, 4});
    // Overlays: rows 10 to h - 11 are drawn, landing from frame row 70; at
    // most 374 rows keeps them inside the grid band (rows 56 to 423).
    for (int i = 1; i <= 4; ++i) list.push_back({"texture/MO_" + std::to_string(i) + ".tga", 640, 21, 374, 1});
    for (const char* name : {"x1_basari", "x2_snare", "x3_vs1", "x1_vs2", "g1", "g2", "g3", "g4"})
        list.push_back({std::string("texture/") + name + ".tga", 640, 1, 420, 1});
    for (auto [verse, count] : {std::pair{'a', 8}, {'b', 8}, {'c', 10}})
        for (int i = 1; i <= count; ++i)
            list.push_back({"tekstit/" + std::string(1, verse) + std::to_string(i) + ".tga", 640, 480, 480, 1});
    return list;
}

Holder<Texture> Load(const std::string& file) {
    return file.ends_with(".jpg") ? Load_Jpeg(file.c_str()) : Load_Tga(file.c_str());
}

// The mean absolute difference of one byte channel between two rows.
double Row_Difference(Texture& texture, int row_a, int row_b) {
    const uint8_t* pixels = texture.pixels();
    int stride = texture.width() * 4;
    double sum = 0;
    for (int i = 0; i < stride; ++i) sum += std::abs(int(pixels[row_a * stride + i]) - int(pixels[row_b * stride + i]));
    return sum / stride;
}

std::filesystem::path Temporary_Directory() {
    std::string pattern = (std::filesystem::temp_directory_path() / "zizo-pictures-XXXXXX").string();
    return mkdtemp(pattern.data());
}

}  // namespace

TEST(Pictures, EveryFileLoadsAtTheSizeItsSceneNeeds) {
    for (const Expected& expected : Every_Picture()) {
        SCOPED_TRACE(expected.file);
        Holder<Texture> texture = Load(expected.file);
        EXPECT_EQ(texture->width(), expected.width);
        EXPECT_GE(texture->height(), expected.min_height);
        EXPECT_LE(texture->height(), expected.max_height);
        ASSERT_EQ(texture->bytes_per_pixel(), expected.bytes_per_pixel);

        // A picture, not a blank: grey ones are black with bright shapes,
        // colour ones have both dark and light areas.
        size_t size = size_t(texture->width()) * size_t(texture->height()) * size_t(texture->bytes_per_pixel());
        std::set<int> levels;
        int darkest = 255, brightest = 0;
        for (size_t i = 0; i < size; ++i) {
            if (expected.bytes_per_pixel == 4 && i % 4 == 3) continue;
            darkest = std::min(darkest, int(texture->pixels()[i]));
            brightest = std::max(brightest, int(texture->pixels()[i]));
            levels.insert(texture->pixels()[i]);
        }
        EXPECT_LE(darkest, expected.bytes_per_pixel == 1 ? 0 : 40);
        EXPECT_GE(brightest, 200);
        EXPECT_GE(levels.size(), 64u) << "edges are antialiased";
    }
}

// The grid wraps u and v, and the tunnel wraps round its tube: the step from
// the last row or column to the first must look like any other step.
TEST(Pictures, WrappedPicturesHaveNoSeam) {
    for (const char* name : {"teksture_krazy", "teksture", "trash_punanen", "joomu", "trash_sininen_1",
                             "trash_total_vihree"}) {
        SCOPED_TRACE(name);
        Holder<Texture> texture = Load_Jpeg((std::string("texture/") + name + ".jpg").c_str());
        const int size = texture->height();
        double inner = 0;
        for (int row = 0; row + 1 < size; ++row) inner += Row_Difference(*texture.get(), row, row + 1);
        inner /= size - 1;
        EXPECT_LT(Row_Difference(*texture.get(), size - 1, 0), 3 * inner + 2);

        double inner_columns = 0, seam_column = 0;
        const uint8_t* pixels = texture->pixels();
        auto at = [&](int x, int y, int c) { return int(pixels[(y * size + x) * 4 + c]); };
        for (int y = 0; y < size; ++y)
            for (int c = 0; c < 3; ++c) {
                for (int x = 0; x + 1 < size; ++x) inner_columns += std::abs(at(x, y, c) - at(x + 1, y, c));
                seam_column += std::abs(at(size - 1, y, c) - at(0, y, c));
            }
        EXPECT_LT(seam_column / (size * 3), 3 * inner_columns / (size * 3.0 * (size - 1)) + 2);
    }
}

// The show's own data takes every path of both loaders.
TEST(Pictures, FilesUseEveryStorageTheLoadersRead) {
    std::set<std::pair<int, int>> tga_kinds;   // image type, top-left origin
    int scrambled = 0, plain = 0;
    for (const Expected& expected : Every_Picture()) {
        std::vector<uint8_t> bytes = Read_File(expected.file);
        ASSERT_GE(bytes.size(), 18u);
        if (expected.file.ends_with(".tga"))
            tga_kinds.insert({bytes[2], (bytes[17] & 0x20) != 0});
        else
            ++(bytes[0] == 0xFF ? plain : scrambled);
    }
    EXPECT_EQ(tga_kinds, (std::set<std::pair<int, int>>{{1, 0}, {3, 0}, {3, 1}, {11, 0}, {11, 1}}));
    EXPECT_GE(scrambled, 1);
    EXPECT_GE(plain, 1);
}

TEST(Pictures, EveryRunWritesTheSameBytes) {
    std::filesystem::path directory = Temporary_Directory();
    Write_Pictures(directory);
    for (const Expected& expected : Every_Picture())
        EXPECT_TRUE(Read_File(directory / expected.file) == Read_File(expected.file)) << expected.file;
    std::filesystem::remove_all(directory);
}

// Each way of storing a grey picture loads back to the same pixels: runs
// longer than one packet, literals between runs, and a single odd pixel.
TEST(Tga_Writer, EveryStorageLoadsBackToThePicture) {
    Grey_Image picture(300, 3);
    for (int x = 0; x < 300; ++x) {
        picture.at(x, 0) = 1.0f;                              // one run across 300 pixels
        picture.at(x, 1) = float(x % 7) / 6.0f;               // literals only
        picture.at(x, 2) = x < 140 ? 0.0f : x == 200 ? 0.5f : 0.2f;
    }
    std::filesystem::path directory = Temporary_Directory();
    for (Tga_Storage storage : {Tga_Storage::Raw_Bottom_Up, Tga_Storage::Raw_Top_Down, Tga_Storage::Rle_Bottom_Up,
                                Tga_Storage::Rle_Top_Down, Tga_Storage::Mapped_Bottom_Up}) {
        SCOPED_TRACE(int(storage));
        std::filesystem::path file = directory / "picture.tga";
        Write_File(file, Encode_Tga(picture, storage));
        Holder<Texture> texture = Load_Tga(file.c_str());
        ASSERT_EQ(texture->width(), 300);
        ASSERT_EQ(texture->height(), 3);
        ASSERT_EQ(texture->bytes_per_pixel(), 1);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 300; ++x)
                ASSERT_EQ(texture->pixels()[y * 300 + x], To_Byte(picture.at(x, y))) << x << "," << y;
    }
    std::filesystem::remove_all(directory);
}
