#include "Drum_Part.h"
#include "Line_Part.h"
#include "Scene_Fixture.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

const char* const Pictures[8] = {"x1_basari", "x2_snare", "x3_vs1", "x1_vs2", "g1", "g2", "g3", "g4"};

// Picture i is flat grey 20 * (i + 1), so row 60 tells which one is shown.
void Write_Pictures() {
    for (int i = 0; i < 8; ++i)
        Write_Flat_Tga(std::string("texture/") + Pictures[i] + ".tga", 640, 420, uint8_t(20 * (i + 1)));
}

// The brightest blue of the frame: with the figure held still it grows with
// the lines' brightness alone.
int Max_Blue(Screen& screen) {
    int blue = 0;
    for (int i = 0; i < 640 * 480; ++i)
        blue = std::max(blue, int(screen.pixels()[i] & 0xFF));
    return blue;
}

// Two short segments meeting at one end; blue 100 keeps even the shared end
// pixel clear of saturation.
const Scene_Params Blue_Figure{1, 2, 0xff000064};

}

TEST(Drum_Part, PicturesFollowTheTableByPosition) {
    Picture_Dir dir;
    Write_Pictures();
    Scene_Rig rig;
    const Scene_Params params{1, 0, 0xff065179};
    Holder<Part> scene = Create_Drum_Part(&rig.screen, &params);
    const struct {
        int order, row;
        int picture; // 1-based index into the table's pictures; 0 for none
    } frames[] = {
        {29, 63, 0}, {30, 0, 1},  {30, 2, 1},  {30, 4, 1},  {30, 7, 3},  {30, 35, 2},
        {30, 40, 2}, {30, 41, 4}, {31, 3, 4},  {31, 6, 2},  {31, 38, 2}, {31, 47, 3}, {32, 0, 5},
        {32, 4, 6},  {32, 31, 7}, {32, 32, 7}, {32, 48, 7}, {32, 63, 7}, {33, 0, 0},  {33, 10, 0},
        {34, 0, 0},
    };
    rig.clock(0);
    for (const auto& f : frames) {
        rig.at(f.order, f.row);
        scene->update();
        scene->render();
        EXPECT_EQ(rig.pixel(7, 60) & 0xFF, uint32_t(20 * f.picture)) << f.order << ":" << f.row;
        EXPECT_EQ(rig.pixel(7, 59) & 0xFFFFFF, 0u) << f.order << ":" << f.row;
    }
}

TEST(Drum_Part, PicturesThatDoNotFitAreClippedOrSkipped) {
    Picture_Dir dir;
    Write_Pictures();
    Write_Flat_Tga("texture/x1_basari.tga", 640, 700, 50);
    Write_Flat_Tga("texture/x2_snare.tga", 320, 420, 60);
    Write_Flat_Tga("texture/x3_vs1.tga", 640, 420, 70, 4);
    Scene_Rig rig;
    const Scene_Params params{1, 0, 0xff065179};
    Holder<Part> scene = Create_Drum_Part(&rig.screen, &params);
    const struct {
        int row;
        uint32_t top, bottom; // blue at the first and the last row a 420-row picture covers
    } frames[] = {{0, 50, 50}, {3, 0, 0}, {7, 0, 0}, {9, 80, 80}};
    rig.clock(0);
    for (const auto& f : frames) {
        rig.at(30, f.row);
        scene->render();
        EXPECT_EQ(rig.pixel(0, 60) & 0xFF, f.top) << f.row;
        EXPECT_EQ(rig.pixel(639, 479) & 0xFF, f.bottom) << f.row;
    }
}

// The same music drives both scenes: the line scene's beats come from
// position(), the drum scene's from row(), one row later.
TEST(Drum_Part, BeatFlashFollowsThePlayingRowOneRowAfterTheLineScene) {
    Picture_Dir dir;
    Write_Pictures();
    Write_Texts();
    Scene_Rig rig;
    const Scene_Params line_params{1, 2, 0xff000064};
    Holder<Part> line = Create_Line_Part(&rig.screen, &line_params);
    Holder<Part> drum = Create_Drum_Part(&rig.screen, &Blue_Figure);
    rig.clock(0);
    rig.play(1, 0);
    line->update();
    drum->update();
    int drum_flash_level = 0;
    for (int row = 0; row <= 8; ++row) {
        rig.play(1, row);
        line->render();
        const bool line_flash = (rig.pixel(320, 240) & 0xFF) == 238;
        drum->render();
        if (row == 0)
            drum_flash_level = Max_Blue(rig.screen);
        const bool drum_flash = Max_Blue(rig.screen) == drum_flash_level;
        EXPECT_EQ(line_flash, row % 2 == 1) << row;
        EXPECT_EQ(drum_flash, row % 2 == 0) << row;
        drum->render();
        EXPECT_LT(Max_Blue(rig.screen), drum_flash_level) << "second frame of row " << row;
    }
    EXPECT_GT(drum_flash_level, 100);
}

// The flicker replaces the flash with a random level below 1 - f, f the
// share of 9.3 s gone since the first frame of position order 33.
TEST(Drum_Part, FlickerFadesOutOverNinePointThreeSeconds) {
    Picture_Dir dir;
    Write_Pictures();
    Scene_Rig rig;
    Holder<Part> scene = Create_Drum_Part(&rig.screen, &Blue_Figure);
    rig.clock(0);
    rig.play(30, 0);
    scene->update();
    scene->render();
    const int full = Max_Blue(rig.screen);
    ASSERT_GT(full, 100);
    rig.at(33, 1);
    const struct {
        uint32_t milliseconds;
        int lowest_peak, highest_peak;
    } spans[] = {
        {10000, full * 7 / 10, full * 100 / 120 + 2}, {14650, full * 3 / 10, full / 2}, {19300, 0, 0}, {25000, 0, 0}};
    for (const auto& span : spans) {
        rig.clock(span.milliseconds);
        int peak = 0;
        for (int frame = 0; frame < 40; ++frame) {
            scene->render();
            peak = std::max(peak, Max_Blue(rig.screen));
        }
        EXPECT_GE(peak, span.lowest_peak) << span.milliseconds;
        EXPECT_LE(peak, span.highest_peak) << span.milliseconds;
    }
}

// Guards the exact bytes of a run through orders 30 to 33 at the show's
// settings: the figure's arithmetic, the shared random sequence, the line
// drawer and the picture add. A faster implementation must keep them.
TEST(Drum_Part, FramesOfAFixedRunKeepTheirBytes) {
    Picture_Dir dir;
    Write_Pictures();
    Scene_Rig rig;
    const Scene_Params params{1, 1500, 0xff065179};
    Holder<Part> scene = Create_Drum_Part(&rig.screen, &params);
    uint64_t hash = 0;
    for (int frame = 0; frame < 240; ++frame) {
        rig.clock(20000 + frame * 1000 / 60);
        rig.play(30 + frame / 60, frame % 60);
        scene->update();
        scene->render();
        if (frame % 20 == 19)
            hash = hash * 31 + Frame_Hash(rig.screen);
    }
    EXPECT_EQ(hash, 2918098151621436575u);
}
