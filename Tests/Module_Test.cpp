#include "Module.h"
#include "Music.h"
#include "Screen.h"
#include "Test_Platform.h"

#include <libopenmpt/libopenmpt.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

namespace {

// tekno.xm as zizo-data wrote it into the data directory for this run.
std::vector<uint8_t> Written_Module() {
    std::ifstream file("tekno.xm", std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), {});
}

constexpr double Row_Seconds = 0.08772;  // six ticks at 171 BPM

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
