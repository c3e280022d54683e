#include "Module.h"
#include "Music.h"
#include "Screen.h"
#include "Test_Platform.h"

#include <libopenmpt/libopenmpt.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

// tekno.xm as zizo-data wrote it into the data directory for this run.
std::vector<uint8_t> Written_Module() {
    std::ifstream file("tekno.xm", std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), {});
}

constexpr double Row_Seconds = 0.08772;  // six ticks at 171 BPM

struct Loaded {
    Loaded() {
        const std::vector<uint8_t> bytes = Written_Module();
        module = openmpt_module_create_from_memory2(bytes.data(), bytes.size(), nullptr, nullptr, nullptr, nullptr,
                                                    nullptr, nullptr, nullptr);
    }
    ~Loaded() { openmpt_module_destroy(module); }

    // Names of the instruments whose notes start on a row the module plays.
    std::set<std::string> starting(int order, int row) const {
        std::set<std::string> names;
        const int pattern = openmpt_module_get_order_pattern(module, order);
        for (int channel = 0; channel < openmpt_module_get_num_channels(module); ++channel) {
            const int note = openmpt_module_get_pattern_row_channel_command(module, pattern, row, channel,
                                                                            OPENMPT_MODULE_COMMAND_NOTE);
            const int instrument = openmpt_module_get_pattern_row_channel_command(module, pattern, row, channel,
                                                                                  OPENMPT_MODULE_COMMAND_INSTRUMENT);
            if (note >= 1 && note <= 120 && instrument > 0) {
                const char* name = openmpt_module_get_instrument_name(module, instrument - 1);
                names.insert(name);
                openmpt_free_string(name);
            }
        }
        return names;
    }

    openmpt_module* module;
};

}  // namespace

TEST(Tekno_Module, LibopenmptReadsTheOrdersPatternsAndTempoTheShowNeeds) {
    const std::vector<uint8_t> bytes = Written_Module();
    ASSERT_FALSE(bytes.empty());
    EXPECT_LT(bytes.size(), 2u << 20);
    openmpt_module* module = openmpt_module_create_from_memory2(bytes.data(), bytes.size(), nullptr, nullptr,
                                                                nullptr, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(module, nullptr);
    const int orders = openmpt_module_get_num_orders(module);
    EXPECT_GE(orders, 37);
    for (int order = 0; order < orders; ++order)
        EXPECT_EQ(openmpt_module_get_pattern_num_rows(module, openmpt_module_get_order_pattern(module, order)), 64)
            << "order " << order;
    EXPECT_EQ(openmpt_module_get_current_speed(module), 6);
    EXPECT_EQ(openmpt_module_get_current_tempo(module), 171);
    // The player counts whole samples a tick, so a row lasts a little less
    // than the exact 87.72 ms; the show allows 0.2%.
    const double ending = openmpt_module_set_position_order_row(module, 36, 0);
    EXPECT_NEAR(ending, 36 * 64 * Row_Seconds, 36 * 64 * Row_Seconds * 0.002);
    openmpt_module_destroy(module);
}

// A cue read from position() fires while the row before the one it names
// plays, so its sound starts there; a cue read from row() has its sound on
// its own row.
TEST(Tekno_Module, CuesSoundOnTheRowsThePicturesReactTo) {
    Loaded loaded;
    ASSERT_NE(loaded.module, nullptr);
    const struct {
        const char* cue;
        int order, row;  // the row the module plays
        const char* instrument;
    } cues[] = {
        {"order 0 pulse, position row 4", 0, 3, "kick"},
        {"order 1 pulse, position row 0", 0, 63, "kick"},
        {"order 1 pulse, position row 2", 1, 1, "rim"},
        {"order 2 back after the cut, position row 12", 2, 11, "crash"},
        {"spin kick and text, order 4 position row 10", 4, 9, "kick"},
        {"text accent, order 5 position row 26", 5, 25, "minor stab"},
        {"tunnel hit, order 10 row 3", 10, 3, "clap"},
        {"tunnel hit, order 12 row 27", 12, 27, "clap"},
        {"tunnel fill, order 11 row 53", 11, 53, "tom"},
        {"tunnel accent, order 19 row 22", 19, 22, "open hat"},
        {"morph kick, order 15 position row 0", 14, 63, "kick"},
        {"grid hit, order 22 position row 11", 22, 10, "rim"},
        {"zoom, order 23 position row 44", 23, 43, "tom"},
        {"bass drum, order 30 position row 0", 29, 63, "kick"},
        {"snare, order 31 position row 6", 31, 5, "snare"},
        {"vs2, order 30 position row 41", 30, 40, "tom"},
        {"g4, order 32 position row 28", 32, 27, "tom"},
    };
    for (const auto& c : cues) EXPECT_EQ(loaded.starting(c.order, c.row).count(c.instrument), 1u) << c.cue;

    const struct {
        const char* cue;
        int order, from, to;  // rows the module plays, inclusive
    } silences[] = {
        {"the cut of order 2, position rows 3 to 11", 2, 2, 10},
    };
    for (const auto& s : silences)
        for (int row = s.from; row <= s.to; ++row) EXPECT_TRUE(loaded.starting(s.order, row).empty()) << s.cue;
    for (int row = 0; row < 27; ++row)
        EXPECT_EQ(loaded.starting(12, row).count("clap"), 0u) << "order 12 breaks down before row 27";
    for (int row = 48; row < 64; ++row)
        EXPECT_EQ(loaded.starting(11, row).count("clap"), 0u) << "order 11 hits only below row 48";
}

TEST(Tekno_Module, IsTheSameOnEveryRun) {
    EXPECT_TRUE(Compose_Tekno_Module() == Written_Module()) << "composed here and by zizo-data in its own process";
}

TEST(Tekno_Module, PlaysThroughModuleMusicOverTheVirtualBackendFromOrder0To36) {
    Test_Platform platform;
    platform.backend.set_frame_rate(10);  // ten flips a second: the whole show in 2,000 flips
    Module_Music music("tekno.xm", nullptr, false);
    DDraw_Screen screen(nullptr, nullptr, 64, 48, 32);
    music.play();
    std::vector<int> orders_heard = {music.order()};
    const uint64_t limit = uint64_t(40 * 64 * Row_Seconds * 10);
    while (music.order() != 36 && platform.backend.frames() < limit) {
        screen.present();
        if (music.order() != orders_heard.back()) orders_heard.push_back(music.order());
    }
    std::vector<int> expected;
    for (int order = 0; order <= 36; ++order) expected.push_back(order);
    EXPECT_EQ(orders_heard, expected);
    EXPECT_NEAR(double(platform.backend.frames()) / 10, 36 * 64 * Row_Seconds, 0.5);
}
