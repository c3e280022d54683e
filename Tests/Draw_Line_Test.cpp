#include "Draw_Line.h"
#include "Test_Platform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <vector>

namespace {

constexpr int Width = 640;
constexpr int Height = 480;
constexpr uint32_t White = 0xFFFFFFFF;
// Ones in the lowest bits show where a pixel was added to at weight 0.
constexpr uint32_t Background = 0x00010101;

struct Segment {
    float x0, y0, x1, y1;
};

struct Pixel {
    int x, y;
    uint32_t value;
    bool operator==(const Pixel&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Pixel& p) {
    return out << "(" << p.x << "," << p.y << ")=" << std::hex << p.value << std::dec;
}

struct Fixture {
    Test_Platform platform;
    DDraw_Screen screen{nullptr, nullptr, Width, Height, 32};

    explicit Fixture(uint32_t background = Background) {
        for (int i = 0; i < Width * Height; ++i)
            screen.pixels()[i] = background;
    }
    void draw(const Segment& s, uint32_t colour = White) { Draw_Line(&screen, s.x0, s.y0, s.x1, s.y1, colour); }
    uint32_t pixel(int x, int y) { return screen.pixels()[y * Width + x]; }
    std::vector<Pixel> changed(uint32_t background = Background) {
        std::vector<Pixel> result;
        for (int y = 0; y < Height; ++y)
            for (int x = 0; x < Width; ++x)
                if (pixel(x, y) != background)
                    result.push_back({x, y, pixel(x, y)});
        return result;
    }
};

// A white line's pixel at weight w on the background: every channel becomes
// (255 w) >> 8, red and green losing their lowest bit, blue keeping the
// background's.
uint32_t Weighted_White(int w) {
    const uint32_t c = uint32_t(255 * w) >> 8;
    return 0xFF000000u | (c & 0xFE) << 16 | (c & 0xFE) << 8 | (c + 1);
}

constexpr float Nan = std::numeric_limits<float>::quiet_NaN();
constexpr float Inf = std::numeric_limits<float>::infinity();

}

TEST(Draw_Line, ClipRulesDecideWhatIsDrawn) {
    const struct {
        Segment segment;
        bool drawn;
    } cases[] = {
        {{-50, 100, 1.9f, 300}, false},   // both left of 2
        {{1.99f, 10, 1.99f, 300}, false},
        {{2, 10, 2, 300}, true},          // on the low edge: kept
        {{638, 10, 700, 300}, false},     // both at or beyond 638
        {{638, 10, 638, 300}, false},     // on the high edge: dropped
        {{637.9f, 10, 637.9f, 300}, true},
        {{10, -5, 300, 1.5f}, false},
        {{10, 2, 300, 2}, true},
        {{10, 478, 300, 600}, false},
        {{10, 478, 300, 478}, false},
        {{-1000, -900, 1000, 1100}, true},  // through the whole rectangle
        {{10.2f, 50, 10.8f, 50.3f}, false}, // one column
        {{50, 10.2f, 50.3f, 10.9f}, false}, // one row
        {{Nan, 100, 300, 200}, false},
        {{100, 100, 300, Nan}, false},
        {{-Inf, 100, 300, 200}, false},
        {{100, 100, 300, Inf}, false},
        {{Inf, Inf, -Inf, -Inf}, false},
    };
    for (const auto& c : cases) {
        Fixture f;
        f.draw(c.segment);
        const auto& s = c.segment;
        EXPECT_EQ(!f.changed().empty(), c.drawn) << s.x0 << "," << s.y0 << " " << s.x1 << "," << s.y1;
    }
}

TEST(Draw_Line, ClippedHorizontalLineLightsTwoRows) {
    Fixture f;
    f.draw({0, 100, 100, 100});
    std::vector<Pixel> expected;
    for (int x = 2; x < 100; ++x)
        expected.push_back({x, 100, 0xFFFEFEFF});
    for (int x = 2; x < 100; ++x)
        expected.push_back({x, 101, 0xFF000001});  // weight 0: alpha set, red and green bit 0 cleared
    EXPECT_EQ(f.changed(), expected);
}

// Each segment's pixels, listed along its major axis.
TEST(Draw_Line, StepsAlongTheMajorAxisWithWeightedPairs) {
    const struct {
        const char* name;
        Segment segment;
        std::vector<Pixel> pixels;
    } cases[] = {
        {"quarter below a row", {10, 20.25f, 13, 20.25f},
         {{10, 20, Weighted_White(191)}, {10, 21, Weighted_White(64)},
          {11, 20, Weighted_White(191)}, {11, 21, Weighted_White(64)},
          {12, 20, Weighted_White(191)}, {12, 21, Weighted_White(64)}}},
        {"half right of a column", {20.5f, 10, 20.5f, 12},
         {{20, 10, Weighted_White(127)}, {21, 10, Weighted_White(128)},
          {20, 11, Weighted_White(127)}, {21, 11, Weighted_White(128)}}},
        {"dx equal to dy steps along y", {10, 10, 13, 13},
         {{10, 10, Weighted_White(255)}, {11, 10, Weighted_White(0)},
          {11, 11, Weighted_White(255)}, {12, 11, Weighted_White(0)},
          {12, 12, Weighted_White(255)}, {13, 12, Weighted_White(0)}}},
        // Columns 5 to 7 from truncated ends; the start is moved back to
        // column 5 along the slope 1/3 (from y = 40.5 - 0.5 / 3).
        {"sub-pixel start", {5.5f, 40.5f, 8.9f, 41.5f},
         {{5, 40, Weighted_White(255 - 85)}, {5, 41, Weighted_White(85)},
          {6, 40, Weighted_White(255 - 170)}, {6, 41, Weighted_White(170)},
          {7, 40, Weighted_White(255 - 255)}, {7, 41, Weighted_White(255)}}},
    };
    for (const auto& c : cases) {
        Fixture f;
        f.draw(c.segment);
        std::vector<Pixel> expected = c.pixels;
        std::sort(expected.begin(), expected.end(), [](const Pixel& a, const Pixel& b) {
            return a.y != b.y ? a.y < b.y : a.x < b.x;
        });
        EXPECT_EQ(f.changed(), expected) << c.name;
    }
}

TEST(Draw_Line, ReversedEndpointsGiveTheSamePixels) {
    const Segment segments[] = {
        {3.7f, 5.2f, 200.1f, 77.9f}, {17.3f, 400.6f, 25.8f, 12.1f}, {-80, 300.3f, 900, -40.7f},
        {320.5f, -1e6f, 321.25f, 1e6f}, {100, 100, 100.5f, 400}, {600.9f, 477.9f, 2.1f, 2.1f},
    };
    for (const Segment& s : segments) {
        Fixture forward, backward;
        forward.draw(s);
        backward.draw({s.x1, s.y1, s.x0, s.y0});
        EXPECT_FALSE(forward.changed().empty());
        EXPECT_EQ(forward.changed(), backward.changed()) << s.x0 << "," << s.y0 << " " << s.x1 << "," << s.y1;
    }
}

TEST(Draw_Line, ColourIsWeightedAndAddedWithSaturation) {
    const struct {
        uint32_t background, colour, expected;
    } cases[] = {
        {0x00000000, 0xFFFFFFFF, 0xFFFEFEFE},  // full weight is (255 v) >> 8
        {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF},
        {0x00000000, 0x00804020, 0xFF7E3E1F},  // alpha of the colour ignored
        {0x00000000, 0x55804020, 0xFF7E3E1F},
        {0x00F0F0F0, 0x00204080, 0xFFFFFFFF},
        {0x00010203, 0x00000000, 0xFF000203},
    };
    for (const auto& c : cases) {
        Fixture f(c.background);
        f.draw({50, 60, 70, 60}, c.colour);
        EXPECT_EQ(f.pixel(55, 60), c.expected) << std::hex << c.background << " + " << c.colour;
    }
}

TEST(Draw_Line, RepeatedDrawingSaturatesAndNeverWraps) {
    Fixture f(0);
    const Segment s{10, 20.25f, 30, 20.25f};
    uint32_t upper = f.pixel(15, 20), lower = f.pixel(15, 21);
    for (int n = 0; n < 300; ++n) {
        f.draw(s, 0x00203040);
        for (const auto& [before, after] : {std::pair{upper, f.pixel(15, 20)}, std::pair{lower, f.pixel(15, 21)}})
            for (int shift = 0; shift < 24; shift += 8)
                ASSERT_GE(int(after >> shift & 0xFF) + 1, int(before >> shift & 0xFF)) << n;
        upper = f.pixel(15, 20);
        lower = f.pixel(15, 21);
    }
    EXPECT_EQ(upper, 0xFFFFFFFF);
    EXPECT_EQ(lower, 0xFFFFFFFF);
}

// The clip rectangle comes from the screen of the first call, however large
// a later screen is.
TEST(Draw_Line, ClipBoundsStayThoseOfTheFirstScreen) {
    Test_Platform platform;
    {
        DDraw_Screen small(nullptr, nullptr, 320, 240, 32);
        Draw_Line(&small, 10, 10, 20, 10, White);
    }
    Fixture f;
    f.draw({0, 300, 600, 300});  // below the first screen's bottom edge at 238
    EXPECT_TRUE(f.changed().empty());
    f.draw({0, 100, 600, 100});
    const std::vector<Pixel> changed = f.changed();
    ASSERT_FALSE(changed.empty());
    EXPECT_EQ(changed.front(), (Pixel{2, 100, 0xFFFEFEFF}));
    EXPECT_EQ(changed.back(), (Pixel{317, 101, 0xFF000001}));  // its right edge at 318
}

// Endpoints far outside the screen, at every angle: the clipped segments stay
// off the outermost rows and columns. (Writes beyond the buffer show under
// the address sanitizer.)
TEST(Draw_Line, ClippedSegmentsStayInsideTheMargin) {
    Fixture f(0);
    uint32_t state = 1;
    auto next = [&state] {
        state = state * 1664525u + 1013904223u;
        return float(int32_t(state >> 8) % 4000 - 1680) * 0.37f;
    };
    for (int n = 0; n < 20000; ++n) {
        const float x0 = next(), y0 = next(), x1 = next(), y1 = next();
        f.draw({x0, y0, x1, y1}, 0x00010101);
    }
    const std::vector<Pixel> changed = f.changed(0);
    ASSERT_GT(changed.size(), size_t(Width * Height / 2));
    for (const Pixel& p : changed)
        ASSERT_TRUE(p.x >= 1 && p.x < Width && p.y >= 1 && p.y < Height) << p;
}
