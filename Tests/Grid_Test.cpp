#include "Grid.h"
#include "Lookup_Table.h"
#include "Test_Platform.h"
#include "Throw_Assertion.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

namespace {

constexpr int Width = 640;
constexpr int Height = 480;
constexpr int Top = 56;
constexpr int Bottom = 424;  // one past the grid's last row
constexpr uint32_t Untouched = 0x12345678;

class Test_Texture : public Texture {
public:
    Test_Texture(int width, int height) : m_width(width), m_height(height), m_pixels(size_t(4) * width * height) {}
    int width() override { return m_width; }
    int height() override { return m_height; }
    const uint8_t* pixels() override { return m_pixels.data(); }
    int bytes_per_pixel() override { return 4; }

    void set(int column, int row, uint32_t colour) { std::memcpy(&m_pixels[4 * (row * m_width + column)], &colour, 4); }
    void fill(uint32_t colour) {
        for (int row = 0; row < m_height; ++row)
            for (int column = 0; column < m_width; ++column)
                set(column, row, colour);
    }

private:
    int m_width;
    int m_height;
    std::vector<uint8_t> m_pixels;
};

// Blue holds the texel's column and green its row, so a pixel tells where it
// was sampled; the fourth byte is junk that must not show.
void Fill_With_Addresses(Test_Texture& texture) {
    for (int row = 0; row < texture.height(); ++row)
        for (int column = 0; column < texture.width(); ++column)
            texture.set(column, row, 0x5A000000u | 0x00A00000u | uint32_t(row) << 8 | uint32_t(column));
}

struct Fixture {
    Test_Platform platform;
    DDraw_Screen screen{nullptr, nullptr, Width, Height, 32};

    Fixture() {
        for (int i = 0; i < Width * Height; ++i)
            screen.pixels()[i] = Untouched;
    }
    uint32_t pixel(int x, int y) { return screen.pixels()[y * Width + x]; }
};

void Set_Vertices(Grid& grid, const std::function<Grid_Vertex(int i, int j)>& vertex) {
    for (int i = 0; i < grid.row_count(); ++i)
        for (int j = 0; j < grid.column_count(); ++j)
            grid.vertices()[i * grid.column_count() + j] = vertex(i, j);
}

uint8_t Shade(int level, uint8_t x) { return s_shade_table->m_data[level * 256 + x]; }

}

TEST(Grid, NewGridBlackensExactlyRows56To423) {
    Fixture f;
    Test_Texture texture(256, 256);
    Fill_With_Addresses(texture);
    Holder<Grid> grid = Create_Grid(&f.screen, &texture, 41, 24);
    EXPECT_EQ(grid->column_count(), 41);
    EXPECT_EQ(grid->row_count(), 24);
    for (int k = 0; k < 41 * 24; ++k) {
        const Grid_Vertex& v = grid->vertices()[k];
        ASSERT_TRUE(v.u == 0 && v.v == 0 && v.light == 0) << k;
    }
    grid->render();
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x)
            ASSERT_EQ(f.pixel(x, y), (y >= Top && y < Bottom) ? 0xFF000000u : Untouched) << x << "," << y;
}

TEST(Grid, OneRowOrOneColumnDrawsNothing) {
    const struct {
        int columns, rows;
    } cases[] = {{41, 1}, {1, 24}, {1, 1}};
    for (const auto& c : cases) {
        Fixture f;
        Test_Texture texture(4, 4);
        texture.fill(0xFFFFFFFF);
        Holder<Grid> grid = Create_Grid(&f.screen, &texture, c.columns, c.rows);
        Set_Vertices(*grid.get(), [](int, int) { return Grid_Vertex{0, 0, 256 << 16}; });
        grid->render();
        for (int k = 0; k < Width * Height; ++k)
            ASSERT_EQ(f.screen.pixels()[k], Untouched) << c.columns << "x" << c.rows;
    }
}

TEST(Grid, LightSelectsTheShadeRowModulo512) {
    const uint32_t texel = 0x00FF8010;  // red 255, green 128, blue 16
    const struct {
        int32_t light;
        uint32_t expected;
    } cases[] = {
        {256 << 16, 0xFFFF8010},                                 // unchanged
        {(256 << 16) + 0xFFFF, 0xFFFF8010},                      // the fraction is dropped
        {255 << 16, 0xFF000000u | 254 << 16 | 127 << 8 | 15},    // (255 x) >> 8
        {3 * 255 * 65535, 0xFF000000u | 251 << 16 | 126 << 8 | 15},  // 764 wraps to 252
        {1 << 16, 0xFF000000},                                   // (1 x) >> 8
        {-(1 << 16), 0xFF000000u | 255 << 16 | uint32_t(Shade(511, 128)) << 8 | Shade(511, 16)},
    };
    for (const auto& c : cases) {
        Fixture f;
        Test_Texture texture(8, 8);
        texture.fill(0xA0000000u | texel);
        Holder<Grid> grid = Create_Grid(&f.screen, &texture, 41, 24);
        Set_Vertices(*grid.get(), [&](int i, int j) { return Grid_Vertex{j * (3 << 16), i * (5 << 16), c.light}; });
        grid->render();
        for (int y = Top; y < Bottom; ++y)
            for (int x = 0; x < Width; ++x)
                ASSERT_EQ(f.pixel(x, y), c.expected) << std::hex << c.light << std::dec << " at " << x << "," << y;
    }
}

TEST(Grid, LightIsInterpolatedAcrossAndDownEachCell) {
    Fixture f;
    Test_Texture texture(1, 1);
    texture.fill(0x00C86432);
    Holder<Grid> grid = Create_Grid(&f.screen, &texture, 41, 24);
    // 8 levels per pixel across, 4 per pixel row down; far cells wrap past 511.
    Set_Vertices(*grid.get(), [](int i, int j) { return Grid_Vertex{0, 0, (j * 128 + i * 64) << 16}; });
    grid->render();
    for (int y = Top; y < Bottom; ++y)
        for (int x = 0; x < Width; ++x) {
            const int level = (8 * x + 4 * (y - Top)) & 511;
            const uint32_t expected =
                0xFF000000u | uint32_t(Shade(level, 0xC8)) << 16 | uint32_t(Shade(level, 0x64)) << 8 | Shade(level, 0x32);
            ASSERT_EQ(f.pixel(x, y), expected) << x << "," << y;
        }
}

// Each case sets u = j * du and v = i * dv; the texel sampled at a pixel then
// follows from the whole-texel steps per pixel (across and down) that the
// 24-bit differences give.
TEST(Grid, TexelCoordinatesStepWrapAndCentre) {
    const struct {
        const char* name;
        int texture_width, texture_height;
        int32_t du, dv;
        int step_u, step_v;  // texels per pixel
    } cases[] = {
        {"one texel per pixel", 256, 256, 16 << 16, 16 << 16, 1, 1},
        {"backwards and faster", 256, 256, -(16 << 16), 48 << 16, -1, 3},
        {"2^23 apart steps back by 8 across", 256, 256, 1 << 23, 0, -8, 0},
        {"2^23 apart steps back by 8 down", 256, 256, 0, 1 << 23, 0, -8},
        {"bits above 24 are lost", 256, 256, (1 << 24) + (16 << 16), (3 << 24) + (32 << 16), 1, 2},
        {"256 wide, 128 high: centred with the other half", 256, 128, 16 << 16, 16 << 16, 1, 1},
        {"128 wide, 256 high", 128, 256, 16 << 16, 16 << 16, 1, 1},
    };
    for (const auto& c : cases) {
        Fixture f;
        Test_Texture texture(c.texture_width, c.texture_height);
        Fill_With_Addresses(texture);
        Holder<Grid> grid = Create_Grid(&f.screen, &texture, 41, 24);
        Set_Vertices(*grid.get(), [&](int i, int j) {
            return Grid_Vertex{int32_t(uint32_t(j) * uint32_t(c.du)), int32_t(uint32_t(i) * uint32_t(c.dv)), 256 << 16};
        });
        grid->render();
        for (int y = Top; y < Bottom; ++y)
            for (int x = 0; x < Width; ++x) {
                const int j = x / 16, i = (y - Top) / 16;
                const int u = (int32_t(uint32_t(j) * uint32_t(c.du)) >> 16) + c.step_u * (x % 16);
                const int v = (int32_t(uint32_t(i) * uint32_t(c.dv)) >> 16) + c.step_v * ((y - Top) % 16);
                const int column = (u + c.texture_height / 2) & (c.texture_width - 1);
                const int row = (v + c.texture_width / 2) & (c.texture_height - 1);
                ASSERT_EQ(f.pixel(x, y), 0xFFA00000u | uint32_t(row) << 8 | uint32_t(column))
                    << c.name << " at " << x << "," << y;
            }
    }
}

// The span steps are taken afresh from the edges on every pixel row, so a
// cell with one raised corner fans out row by row.
TEST(Grid, SpanStepsFollowTheEdgesRowByRow) {
    Fixture f;
    Test_Texture texture(256, 256);
    Fill_With_Addresses(texture);
    Holder<Grid> grid = Create_Grid(&f.screen, &texture, 41, 24);
    Set_Vertices(*grid.get(), [](int i, int j) { return Grid_Vertex{(i == 1 && j == 1) ? 64 << 16 : 0, 0, 256 << 16}; });
    grid->render();
    for (int m = 0; m < 16; ++m)
        for (int k = 0; k < 16; ++k) {
            const int column = (k * m / 4 + 128) & 255;
            ASSERT_EQ(f.pixel(k, Top + m), 0xFFA00000u | 128 << 8 | uint32_t(column)) << k << "," << m;
        }
}

TEST(Grid, WidthsThatAreNotPowersOfTwoUpTo1024AreReported) {
    const struct {
        int width;
        bool valid;
    } cases[] = {{1, true}, {2, true}, {64, true}, {1024, true}, {640, false}, {2048, false}, {3, false}, {0, false}};
    for (const auto& c : cases) {
        Fixture f;
        Test_Texture texture(c.width, 4);
        if (c.valid) {
            EXPECT_NO_THROW(Create_Grid(&f.screen, &texture, 41, 24)) << c.width;
            continue;
        }
        try {
            Create_Grid(&f.screen, &texture, 41, 24);
            ADD_FAILURE() << c.width << " accepted";
        } catch (const QEV_Lib::Assertion_Failure& failure) {
            EXPECT_EQ(failure.m_expression, "!\"invalid texture width\"");
            EXPECT_EQ(failure.m_message, "");
            EXPECT_EQ(failure.m_file, "Grid");
            EXPECT_EQ(failure.m_line, 0u);
        }
    }
}

TEST(Grid, SetTextureSwapsTheSourceAndKeepsTheVertices) {
    Fixture f;
    Test_Texture first(256, 256), second(128, 256), wrong(640, 256);
    Fill_With_Addresses(first);
    Fill_With_Addresses(second);
    Holder<Grid> grid = Create_Grid(&f.screen, &first, 41, 24);
    Set_Vertices(*grid.get(), [](int i, int j) { return Grid_Vertex{j << 20, i << 20, 256 << 16}; });
    grid->set_texture(&second);
    EXPECT_THROW(grid->set_texture(&wrong), QEV_Lib::Assertion_Failure);
    EXPECT_EQ(grid->vertices()[41 * 2 + 3].u, 3 << 20);
    grid->render();
    // Column (x + 128) & 127 and row (y - 56 + 64) & 255 of the 128-wide texture.
    EXPECT_EQ(f.pixel(0, Top), 0xFFA00000u | 64 << 8 | 0);
    EXPECT_EQ(f.pixel(200, Top + 100), 0xFFA00000u | 164 << 8 | 72);
}
