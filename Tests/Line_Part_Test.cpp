#include "Line_Part.h"
#include "Scene_Fixture.h"
#include "Throw_Assertion.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// Type 1 with two segments at phase 0: both segments lie on row 240 across
// the screen at full weight, so the blue of (320, 240) is twice the line
// drawer's full-weight share of the line colour's blue.
const Scene_Params Flat_Line{1, 2, 0xff000064};

int Line_Blue(float flash) {
    const int blue = std::min(int(100.0f * flash), 255);
    return 2 * (255 * blue / 256);
}

uint32_t Rgb(uint32_t pixel) { return pixel & 0xFFFFFF; }

bool Frame_Is_Black(Scene_Rig& rig) {
    for (int i = 0; i < 640 * 480; ++i)
        if (Rgb(rig.screen.pixels()[i]))
            return false;
    return true;
}

}

// The figure is left still (update() once, at clock 0) so that only the
// brightness of the lines changes from frame to frame.
TEST(Line_Part, BeatFlashFiresOncePerBeatRowAndDecays) {
    Picture_Dir dir;
    Write_Texts();
    Scene_Rig rig;
    Holder<Part> scene = Create_Line_Part(&rig.screen, &Flat_Line);
    rig.clock(0);
    rig.at(0, 1);
    scene->update();
    const struct {
        int order, row;
        bool flash;
    } frames[] = {
        {0, 1, false}, {0, 2, false}, {0, 4, true},  {0, 4, false}, {0, 4, false}, {0, 5, false},
        {0, 6, false}, {0, 8, true},  {0, 9, false}, {1, 0, true},  {1, 1, false}, {1, 2, true},
        {1, 2, false}, {1, 3, false}, {1, 4, true},  {1, 6, true},  {3, 7, false}, {3, 8, true},
    };
    float flash = 0.0f;
    for (const auto& f : frames) {
        flash = f.flash ? 1.2f : flash;
        rig.at(f.order, f.row);
        scene->render();
        EXPECT_EQ(int(rig.pixel(320, 240) & 0xFF), Line_Blue(flash)) << f.order << ":" << f.row;
        flash *= 0.56f;
    }
}

TEST(Line_Part, OrderTwoRowsThreeToElevenHideTheLinesAndTurnThemBlue) {
    Picture_Dir dir;
    Write_Texts();
    Scene_Rig rig;
    const Scene_Params params{1, 2, 0xff121f16};
    Holder<Part> scene = Create_Line_Part(&rig.screen, &params);
    rig.clock(0);
    rig.at(2, 2);
    scene->update();
    auto green_leads = [&] {
        const uint32_t p = rig.pixel(320, 240);
        return ((p >> 8) & 0xFF) > (p & 0xFF);
    };
    scene->render();
    EXPECT_TRUE(green_leads());
    for (int row = 3; row <= 11; ++row) {
        rig.at(2, row);
        scene->render();
        EXPECT_TRUE(Frame_Is_Black(rig)) << row;
    }
    for (const auto& [order, row] : {std::pair{2, 12}, std::pair{3, 0}, std::pair{3, 4}}) {
        rig.at(order, row);
        scene->render();
        EXPECT_FALSE(Frame_Is_Black(rig)) << order << ":" << row;
        EXPECT_FALSE(green_leads()) << order << ":" << row;
    }
}

// No segments, so row 0 shows only the text (the bands never reach it).
TEST(Line_Part, TextsFollowTheTableAndSkipPicturesThatDoNotFit) {
    Picture_Dir dir;
    Write_Texts();
    Write_Flat_Tga("tekstit/a4.tga", 320, 240, 99);
    Write_Flat_Tga("tekstit/a6.tga", 640, 480, 99, 4);
    Scene_Rig rig;
    const Scene_Params params{0, 0, 0xff121f16};
    Holder<Part> scene = Create_Line_Part(&rig.screen, &params);
    const struct {
        int order, row;
        int text; // 1-based index into a1..a8, b1..b8, c1..c10; 0 for none shown
    } frames[] = {
        {3, 63, 0},  {4, 0, 1},   {4, 1, 1},   {4, 10, 2}, {4, 16, 3}, {4, 26, 0}, {4, 33, 0},
        {4, 42, 0},  {4, 48, 7},  {4, 60, 7},  {5, 0, 9},  {5, 11, 9}, {5, 26, 12}, {6, 58, 24},
        {7, 0, 25},  {7, 10, 26}, {7, 16, 26}, {7, 57, 26}, {7, 58, 0}, {8, 0, 0},  {8, 10, 0},
    };
    rig.clock(0);
    for (const auto& f : frames) {
        rig.at(f.order, f.row);
        scene->update();
        scene->render();
        EXPECT_EQ(rig.pixel(5, 0) & 0xFF, uint32_t(9 * f.text)) << f.order << ":" << f.row;
    }
}

TEST(Line_Part, GlowBandsStartNearTheTopOnRowOneOfOrdersFourToEight) {
    Picture_Dir dir;
    Write_Texts();
    Scene_Rig rig;
    const Scene_Params params{0, 0, 0xff121f16};
    Holder<Part> scene = Create_Line_Part(&rig.screen, &params);
    rig.clock(0);
    auto lit_rows = [&] {
        std::vector<int> rows;
        for (int y = 0; y < 480; ++y)
            if (Rgb(rig.pixel(0, y)))
                rows.push_back(y);
        return rows;
    };
    rig.at(4, 1);
    scene->render();
    std::vector<int> rows = lit_rows();
    ASSERT_FALSE(rows.empty());
    EXPECT_GE(rows.front(), 44);
    EXPECT_LE(rows.back(), 99);
    const uint32_t centre = rig.pixel(0, rows[rows.size() / 2]);
    EXPECT_GT(centre & 0xFF, (centre >> 16) & 0xFF) << std::hex << centre;

    for (int frame = 0; frame < 60; ++frame)
        scene->render();
    rows = lit_rows();
    ASSERT_FALSE(rows.empty());
    EXPECT_GT(rows.front(), 300);

    rig.at(9, 1);
    scene->render();
    EXPECT_TRUE(lit_rows().empty());
}

// The phase is only seen through the figure: a second scene that starts its
// clock where the first one left it must reach the same phase, and so the same
// frame, over the same span of time.
TEST(Line_Part, FirstUpdateAdvancesThePhaseByTheWholeClock) {
    Picture_Dir dir;
    Write_Texts();
    Scene_Rig rig;
    const Scene_Params params{0, 500, 0xff121f16};
    Holder<Part> first = Create_Line_Part(&rig.screen, &params);
    Holder<Part> second = Create_Line_Part(&rig.screen, &params);
    rig.clock(5000);
    rig.at(0, 4);
    first->update();
    first->render();
    const std::vector<uint32_t> frame(rig.screen.pixels(), rig.screen.pixels() + 640 * 480);
    EXPECT_FALSE(Frame_Is_Black(rig));

    rig.clock(10000);
    rig.at(0, 8);
    second->update();
    second->render();
    EXPECT_EQ(std::memcmp(frame.data(), rig.screen.pixels(), frame.size() * 4), 0);
}

TEST(Line_Part, AnInvalidTypeIsReportedOnConstruction) {
    Picture_Dir dir;
    Write_Texts();
    Scene_Rig rig;
    const Scene_Params params{2, 10, 0xff121f16};
    try {
        Create_Line_Part(&rig.screen, &params);
        FAIL();
    } catch (const QEV_Lib::Assertion_Failure& failure) {
        EXPECT_EQ(failure.m_expression, "!\"invalid line part type\"");
        EXPECT_EQ(failure.m_message, "");
        EXPECT_EQ(failure.m_file, "Line_Part");
        EXPECT_EQ(failure.m_line, 0u);
    }
}
