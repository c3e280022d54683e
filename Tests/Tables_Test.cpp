#include "Colour.h"
#include "Lookup_Table.h"
#include "Random.h"

#include <gtest/gtest.h>

namespace {

int Shade(int level, int value) { return s_shade_table->m_data[level * 256 + value]; }
int Mul(int weight, int value) { return s_mul_table->m_data[weight * 256 + value]; }

// The add stated channel by channel.
uint32_t Add_By_Channel(uint32_t a, uint32_t b) {
    uint32_t result = 0xFF000000;
    uint32_t carry_in = 0;
    const uint32_t masks[3] = {0xFF, 0xFE, 0xFE}; // blue, green, red
    for (int channel = 0; channel < 3; ++channel) {
        int shift = 8 * channel;
        uint32_t sum = ((a >> shift) & masks[channel]) + ((b >> shift) & masks[channel]);
        uint32_t value = sum > 255 ? 255 : sum;
        result |= (value | carry_in) << shift;
        carry_in = sum > 255 ? 1 : 0;
    }
    return result;
}

}

TEST(Tables, ShadeAndMulEntries) {
    for (int j = 0; j < 256; ++j) {
        EXPECT_EQ(Shade(256, j), j);
        EXPECT_EQ(Mul(0, j), 0);
        EXPECT_EQ(Mul(j, 0), 0);
    }
    EXPECT_EQ(Shade(255, 255), 254);
    EXPECT_EQ(Shade(511, 0), 254);
    EXPECT_EQ(Shade(511, 255), 255);
    EXPECT_EQ(Shade(0, 200), 0);
    EXPECT_EQ(Shade(384, 100), 100 + (128 * 155 >> 8));
    EXPECT_EQ(Mul(255, 255), 254);
    EXPECT_EQ(Mul(128, 200), 100);
    EXPECT_EQ(Mul(17, 93), 17 * 93 >> 8);
    EXPECT_EQ(s_shade_table->rows(), 512);
    EXPECT_EQ(s_mul_table->rows(), 256);
}

TEST(Add_Saturate, MatchesThePerChannelRule) {
    const uint32_t cases[][2] = {
        {0x00000000, 0x00000000}, {0x00FFFFFF, 0x00FFFFFF}, {0x00010101, 0x00010101},
        {0x00808080, 0x00808080}, {0x000000FF, 0x00000001}, {0x0000FF00, 0x00000200},
        {0x00FF0000, 0x00020000}, {0x7F123456, 0x80FEDCBA}, {0xFF7F7F7F, 0x00808080},
        {0x00FE00FF, 0x000200FF},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Add_Saturate(c[0], c[1]), Add_By_Channel(c[0], c[1])) << std::hex << c[0] << " + " << c[1];
        EXPECT_EQ(Add_Saturate(c[1], c[0]), Add_Saturate(c[0], c[1]));
    }
    EXPECT_EQ(Add_Saturate(0x00FFFFFF, 0x00FFFFFF), 0xFFFFFFFFu);
    EXPECT_EQ(Add_Saturate(0x00030303, 0), 0xFF020203u);
    // A full blue carries into green's lowest bit.
    EXPECT_EQ(Add_Saturate(0x000000FF, 0x00000001), 0xFF0001FFu);
}

TEST(Rand, FollowsTheProgramsSequence) {
    const int expected[] = {41, 18467, 6334, 26500, 19169};
    for (int value : expected)
        EXPECT_EQ(Rand(), value);
}
