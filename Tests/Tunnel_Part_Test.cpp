#include "Colour.h"
#include "Fixed_Point.h"
#include "Scene_Fixture.h"
#include "Tunnel_Part.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>
#include <vector>

namespace {

// Every vertex at texel 0, 0 with the darkest level the scene allows: what a
// zero forward vector gives.
bool All_Dark(Tunnel_Part& part) {
    Grid* grid = part.grid();
    const Grid_Vertex* vertex = grid->vertices();
    for (int i = 0; i < grid->column_count() * grid->row_count(); ++i)
        if (vertex[i].u != 0 || vertex[i].v != 0 || vertex[i].light != 4 * 65535)
            return false;
    return true;
}

std::vector<uint32_t> Frame(Screen& screen) {
    return std::vector<uint32_t>(screen.pixels(), screen.pixels() + screen.width() * screen.height());
}

}

TEST(Tunnel_Part, LightIsClampedAndFixedPointIsDefinedForEveryInput) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const struct {
        float in, out;
    } lights[] = {{4.0f, 4.0f}, {511.0f, 511.0f}, {3.99f, 4.0f}, {511.5f, 511.0f},
                  {-7.0f, 4.0f}, {nan, 4.0f},     {inf, 511.0f}, {-inf, 4.0f}};
    for (const auto& c : lights)
        EXPECT_EQ(Tunnel_Light(c.in), c.out) << c.in;

    const struct {
        float in;
        int32_t out;
    } fixes[] = {
        {4.0f * 65535.0f, 262140}, {1.9f, 1}, {-1.9f, -1}, {3.0e9f, int32_t(3000000000u)}, {-3.0e9f, 1294967296},
        {-9223372036854775808.0f, 0}, {1.0e19f, 0}, {-1.0e19f, 0}, {nan, 0}, {inf, 0},
    };
    for (const auto& c : fixes)
        EXPECT_EQ(Fix(c.in), c.out) << c.in;
}

TEST(Tunnel_Part, BeatEventsKeepTheirUnevenGuards) {
    Scene_Rig rig;
    Tunnel_Part part(&rig.screen);
    rig.clock(1000);
    rig.play(10, 0);
    part.update();
    EXPECT_TRUE(All_Dark(part)) << "no kick before the first beat";

    const struct {
        int order, settle_row, row;
        bool fires, holds;
    } cases[] = {
        {11, 1, 47, false, false}, // below 48 only the row-mod-8 rule applies
        {11, 1, 43, true, true},   // "prev != 0" holds for the whole row
        {10, 1, 3, true, true},
        {10, 0, 3, false, true},   // ... but not on the update that follows row 0
        {11, 1, 51, true, false},  // the rows from 49 fire once
        {11, 1, 53, true, false},
        {11, 1, 55, true, false},
        {10, 1, 22, true, false},  // row 22 fires once
        {10, 1, 54, true, true},   // row 54 on every update
    };
    for (const auto& c : cases) {
        rig.play(c.order, c.settle_row);
        for (int i = 0; i < 60; ++i)
            part.update();
        ASSERT_TRUE(All_Dark(part)) << c.settle_row;
        rig.play(c.order, c.row);
        part.update();
        EXPECT_EQ(!All_Dark(part), c.fires) << c.order << " " << c.row;
        for (int i = 0; i < 60; ++i)
            part.update();
        EXPECT_EQ(!All_Dark(part), c.holds) << c.order << " " << c.row;
    }
}

TEST(Tunnel_Part, MorphHoldsOnTheRowsBeforeEverySixteenthAndTenth) {
    Scene_Rig rig;
    Tunnel_Part part(&rig.screen);
    std::set<int> held;
    for (int row = 0; row < 64; ++row) {
        rig.clock(20000 + 90 * row);
        rig.play(14, row);
        bool every_update = true;
        for (int i = 0; i < 3; ++i) {
            part.update();
            every_update = every_update && part.morph() == 0.85f;
        }
        if (every_update)
            held.insert(row);
    }
    EXPECT_EQ(held, (std::set<int>{9, 15, 25, 31, 41, 47, 57, 63}));
}

TEST(Ramp_Value, FollowsTheSegmentOfTheRowAhead) {
    Scene_Rig rig;
    rig.clock(5000);
    rig.at(16, 4);
    EXPECT_EQ(Ramp_Value(), 2.0f) << "inside a segment that never started: its start value";

    const double row_seconds = 0.087609;
    rig.clock(10000);
    rig.at(15, 2);
    EXPECT_FLOAT_EQ(Ramp_Value(), 1.5f);
    rig.clock(10044);
    EXPECT_NEAR(Ramp_Value(), 1.5 - 0.75 * (0.044 / row_seconds), 1e-4);
    rig.clock(10300);
    EXPECT_NEAR(Ramp_Value(), 1.5 - 0.75 * (0.300 / row_seconds), 1e-4) << "not clamped at its end value";

    rig.at(15, 35);
    EXPECT_EQ(Ramp_Value(), 0.0f);
    rig.at(17, 63);
    EXPECT_EQ(Ramp_Value(), 0.0f);
    // Back on the start row: the rows outside did not count as seen, so the
    // segment goes on from its old start.
    rig.clock(10500);
    rig.at(15, 2);
    EXPECT_NEAR(Ramp_Value(), 1.5 - 0.75 * (0.500 / row_seconds), 1e-4);

    rig.at(15, 6);
    rig.clock(11000);
    EXPECT_FLOAT_EQ(Ramp_Value(), 0.34f) << "a new segment restarts at its start row";
}

TEST(Tunnel_Part, ClosingPictureIsRevealedOnlyOnceTheFadeHasBegun) {
    Scene_Rig rig;
    Tunnel_Part part(&rig.screen);
    Holder<Texture> picture = Load_Jpeg("texture/mafia_368.jpg");
    const int width = picture->width();
    const int height = picture->height();
    ASSERT_LE(width, 640);
    ASSERT_LE(56 + height, 480);

    // What the grid alone draws with the vertices the last update wrote.
    auto grid_only = [&] {
        part.grid()->render();
        return Frame(rig.screen);
    };

    rig.clock(30000);
    rig.play(17, 10);
    part.update();
    part.render();
    std::vector<uint32_t> drawn = Frame(rig.screen);
    EXPECT_EQ(part.fade(), 1.0f);
    EXPECT_EQ(drawn, grid_only());

    rig.play(18, 10);
    part.update();
    part.render();
    EXPECT_GT(part.fade(), 1.0f);
    drawn = Frame(rig.screen);
    EXPECT_EQ(drawn, grid_only()) << "a band of no rows";

    int frames = 1;
    while (int((part.fade() - 1.0f) * 0.06f * 368.0) <= 255 + height / 2) {
        rig.clock(30000 + 17 * frames++);
        part.update();
    }
    part.render();
    drawn = Frame(rig.screen);
    const std::vector<uint32_t> under = grid_only();
    const uint8_t* bytes = picture->pixels();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint8_t* q = bytes + 4 * (y * width + x);
            const uint32_t pixel = q[0] | q[1] << 8 | q[2] << 16 | uint32_t(q[3]) << 24;
            const int i = (y + 56) * 640 + x;
            ASSERT_EQ(drawn[i], Add_Saturate(under[i], pixel)) << x << " " << y;
        }
}
