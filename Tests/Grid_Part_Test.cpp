#include "Colour.h"
#include "Grid_Part.h"
#include "Lookup_Table.h"
#include "Scene_Fixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace {

int Light_Level(Grid_Part& part) { return part.grid()->vertices()[0].light >> 16; }

// The scene's pictures from the show's data, with overlays of one size and
// grey level of the test's choosing.
void Write_Pictures(int overlay_width, int overlay_height) {
    std::filesystem::create_directories("texture");
    for (const char* name : {"joomu.jpg", "trash_sininen_1.jpg", "trash_total_vihree.jpg"})
        std::filesystem::copy_file(std::filesystem::path(ZIZO_TEST_DATA) / "texture" / name,
                                   std::filesystem::path("texture") / name);
    for (int i = 1; i <= 4; ++i)
        Write_Flat_Tga("texture/MO_" + std::to_string(i) + ".tga", overlay_width, overlay_height, 0x80);
}

void Fill(Screen& screen, uint32_t pixel) {
    std::fill(screen.pixels(), screen.pixels() + screen.width() * screen.height(), pixel);
}

// Indices of the pixels that differ from a value.
std::vector<int> Pixels_Other_Than(Screen& screen, uint32_t pixel, int from_row, int to_row) {
    std::vector<int> found;
    for (int i = from_row * screen.width(); i < to_row * screen.width(); ++i)
        if (screen.pixels()[i] != pixel)
            found.push_back(i);
    return found;
}

}

TEST(Grid_Part, FlashFiresOncePerRowFromTheFirstFrameAndRelaxes) {
    Scene_Rig rig;
    Grid_Part part(&rig.screen);
    rig.clock(1000);
    rig.at(22, 3);
    std::vector<int> levels;
    for (int i = 0; i < 5; ++i) {
        part.update();
        levels.push_back(Light_Level(part));
    }
    EXPECT_EQ(levels, (std::vector<int>{764, 560, 438, 365, 321}));
    rig.at(22, 11);
    part.update();
    EXPECT_EQ(Light_Level(part), 764);
}

TEST(Grid_Part, EveryNewRowFromSixtyFlashesInOrder23) {
    Scene_Rig rig;
    Grid_Part part(&rig.screen);
    std::set<int> flashed;
    for (int row = 54; row < 64; ++row) {
        rig.at(23, row);
        part.update();
        if (Light_Level(part) == 764)
            flashed.insert(row);
        part.update();
        EXPECT_NE(Light_Level(part), 764) << row;
    }
    EXPECT_EQ(flashed, (std::set<int>{59, 60, 61, 62, 63}));
}

TEST(Grid_Part, Order30ClearsEvenOnARowAlreadySeen) {
    Scene_Rig rig;
    Grid_Part part(&rig.screen);
    rig.at(29, 5);
    part.update();
    part.render();
    Fill(rig.screen, 0x12345678);
    rig.at(30, 5);
    part.update();
    part.render();
    EXPECT_TRUE(Pixels_Other_Than(rig.screen, 0, 0, 480).empty());
}

TEST(Grid_Part, FirstTextureSwitchShowsTheBluePicture) {
    Scene_Rig rig;
    Grid_Part part(&rig.screen);
    rig.at(26, 3);
    part.update();
    part.render();

    // The warp starts at nothing, so every pixel shows the centre texel, at
    // the flash's level 764 & 511.
    auto centre = [](const char* file) {
        Holder<Texture> texture = Load_Jpeg(file);
        const int column = texture->height() / 2 & (texture->width() - 1);
        const int row = texture->width() / 2 & (texture->height() - 1);
        const uint8_t* texel = texture->pixels() + 4 * (column + row * texture->width());
        const uint8_t* shade = s_shade_table->m_data + 252 * 256;
        return 0xFF000000u | shade[texel[2]] << 16 | shade[texel[1]] << 8 | shade[texel[0]];
    };
    const uint32_t blue = centre("texture/trash_sininen_1.jpg");
    ASSERT_NE(blue, centre("texture/joomu.jpg"));
    // From order 26 a frame may come out inverted.
    const uint32_t shown = rig.pixel(0, 56);
    EXPECT_TRUE(shown == blue || shown == 0u - blue) << std::hex << shown;
    EXPECT_TRUE(Pixels_Other_Than(rig.screen, shown, 56, 424).empty());
}

TEST(Grid_Part, OverlayDrawsOnlyTheRowsInsideItsMargins) {
    Scene_Rig rig;
    const struct {
        int height, row;
        size_t grey_pixels;
    } cases[] = {{20, 1, 0}, {22, 2, 2 * 640}};
    for (const auto& c : cases) {
        Picture_Dir dir;
        Write_Pictures(640, c.height);
        Grid_Part part(&rig.screen);
        rig.at(24, c.row);
        part.update();
        part.render();
        // The grid is black on its first frame; the overlay's rows start at
        // frame row 70.
        const std::vector<int> grey = Pixels_Other_Than(rig.screen, 0xFF000000, 56, 424);
        EXPECT_EQ(grey.size(), c.grey_pixels) << c.height;
        for (int i : grey)
            ASSERT_EQ(rig.screen.pixels()[i], 0xFF808080) << i;
        if (!grey.empty()) {
            EXPECT_EQ(grey.front(), 70 * 640);
            EXPECT_EQ(grey.back(), 72 * 640 - 1);
        }
    }
}

TEST(Grid_Part, OverlaysOfAnySizeStayInsideTheirPixelsAndTheFrame) {
    Scene_Rig rig;
    const struct {
        int width, height;
    } cases[] = {{8, 400}, {4, 40}, {640, 480}, {1024, 600}};
    for (const auto& c : cases) {
        Picture_Dir dir;
        Write_Pictures(c.width, c.height);
        Grid_Part part(&rig.screen);
        for (int frame = 0; frame < 40; ++frame) {
            Fill(rig.screen, 0);
            rig.clock(1000 + 17 * frame);
            rig.at(24, frame);
            part.update();
            part.render();
            ASSERT_TRUE(Pixels_Other_Than(rig.screen, 0, 0, 56).empty()) << c.width << "x" << c.height;
        }
        if (c.height > 400) {
            EXPECT_EQ(rig.pixel(639, 479), 0xFF808080) << "drawn up to the frame's end";
        }
    }
}

TEST(Grid_Part, FadeBarsDarkenOnlyTheBand) {
    Scene_Rig rig;
    Grid_Part part(&rig.screen);
    rig.clock(1000);
    rig.at(28, 1);
    part.update();
    part.render();
    // A hundred seconds on: 301 bars, each 301 pixels wide.
    Fill(rig.screen, 0xFFFFFFFF);
    rig.clock(101000);
    rig.at(28, 2);
    part.update();
    part.render();
    EXPECT_TRUE(Pixels_Other_Than(rig.screen, 0xFFFFFFFF, 0, 56).empty());
    EXPECT_TRUE(Pixels_Other_Than(rig.screen, 0xFFFFFFFF, 424, 480).empty());
}
