#include "Demo.h"
#include "Message_Pump.h"
#include "Test_Pictures.h"
#include "Test_Platform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

// The frame loop reads the clock exactly once a frame, between its own music
// queries and the scene's; marking that read tells the two apart.
struct Clock_Marking_Backend : Platform::Virtual_Backend {
    uint32_t milliseconds() override {
        if (on_clock_read)
            on_clock_read();
        return Virtual_Backend::milliseconds();
    }
    std::function<void()> on_clock_read;
};

// Plays the show over a scripted module whose position is a function of the
// frames flipped so far; counts the device queries each frame's loop makes
// before its scene runs.
struct Scripted_Show {
    explicit Scripted_Show(std::function<uint32_t(uint64_t frame)> position) {
        Platform::Use_Backend(&backend);
        Ensure_Letterbox_Picture();
        // The letterbox picture's present finds its lock refused (the demo
        // ignores the result), so the frames counted here are the loop's.
        backend.display_config.failing_locks = 1;
        backend.virtual_sound().position_script = [this, position] {
            if (counting)
                ++queries_this_frame;
            return position(backend.frames());
        };
        backend.on_clock_read = [this] {
            loop_queries_per_frame.push_back(queries_this_frame);
            counting = false;
        };
        backend.on_flip = [this](Platform::Virtual_Display&) {
            queries_this_frame = 0;
            counting = true;
            if (on_frame)
                on_frame(backend.frames());
        };
    }
    ~Scripted_Show() { Platform::Use_Backend(nullptr); }

    int run(const char* command_line = "") { return WinMain(nullptr, nullptr, command_line, 1); }

    Clock_Marking_Backend backend;
    std::function<void(uint64_t frames_flipped)> on_frame;
    bool counting = true;
    int queries_this_frame = 0;
    std::vector<int> loop_queries_per_frame;
};

// A frame asks for the position twice and the raw order once (five device
// queries); a clear asks for the position a third time (two more).
constexpr int Plain_Frame = 5;
constexpr int Clearing_Frame = 7;
}

TEST(Timeline, OrdersSelectScenesAndOthersKeepTheCurrent) {
    const struct {
        int order, current, slot;
    } cases[] = {
        {0, 3, 0}, {1, 0, 0},  {9, 0, 0},  {10, 0, 1}, {11, 0, 0}, {13, 0, 0}, {14, 0, 1}, {18, 2, 1},
        {21, 1, 1}, {22, 1, 2}, {29, 2, 2}, {30, 2, 3}, {35, 3, 3}, {36, 3, 3}, {-1, 2, 2}, {65536, 1, 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Scene_Slot(c.order, c.current), c.slot) << c.order;

    // A jump from 9 to 11 keeps the line scene until 14.
    int slot = 0;
    for (int order : {8, 9, 11, 12, 13}) {
        slot = Scene_Slot(order, slot);
        EXPECT_EQ(slot, 0) << order;
    }
    EXPECT_EQ(Scene_Slot(14, slot), 1);
}

TEST(Timeline, ClearsOnANewHighestOrderAndEndsAtRawOrder36) {
    // Orders rise by one every four frames, jumping back from 12 to 3 and
    // then on from 9 to 13.
    auto order_at = [](uint64_t frame) {
        int step = int(frame / 4);
        return step < 13 ? step : step < 20 ? step - 10 : std::min(step - 7, 36);
    };
    Scripted_Show show([&](uint64_t frame) { return Position_Word(order_at(frame), 0); });
    EXPECT_EQ(show.run(), 0);
    std::vector<int> expected;
    int highest = -1;
    for (uint64_t frame = 0; frame < show.loop_queries_per_frame.size(); ++frame) {
        expected.push_back(order_at(frame) > highest ? Clearing_Frame : Plain_Frame);
        highest = std::max(highest, order_at(frame));
    }
    EXPECT_EQ(show.loop_queries_per_frame, expected);
    // Raw order 36 first shows at frame 43 * 4, which is not drawn.
    EXPECT_EQ(show.backend.frames(), 43u * 4);
    const std::vector<std::string>& calls = show.backend.virtual_sound().calls;
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "stop_channel"), 1);
}

TEST(Timeline, AnOrderAbove36ReachedWithoutIt) {
    Scripted_Show show([](uint64_t frame) { return Position_Word(frame < 3 ? 35 : 37, 0); });
    show.on_frame = [&](uint64_t frames) {
        if (frames == 50)
            show.backend.press_escape();
    };
    EXPECT_EQ(show.run(), 0);
    EXPECT_EQ(show.backend.frames(), 50u);
}

TEST(Timeline, EscapeHeldAtTheStartDrawsOneFrame) {
    Scripted_Show show([](uint64_t) { return Position_Word(0, 0); });
    show.backend.set_escape_down(true);
    EXPECT_EQ(show.run(), 0);
    EXPECT_EQ(show.backend.frames(), 1u);
}

TEST(Timeline, EscapeTappedBetweenTwoQueriesEndsTheShow) {
    Scripted_Show show([](uint64_t) { return Position_Word(0, 0); });
    show.on_frame = [&](uint64_t frames) {
        if (frames == 10) {
            show.backend.set_escape_down(true);
            show.backend.set_escape_down(false);
        }
    };
    EXPECT_EQ(show.run(), 0);
    EXPECT_EQ(show.backend.frames(), 10u);
}

TEST(Message_Pump, QuitCodeEndsTheShowInTheFrameThatTakesIt) {
    Scripted_Show show([](uint64_t) { return Position_Word(0, 0); });
    std::vector<size_t> queued;
    show.on_frame = [&](uint64_t frames) {
        queued.push_back(show.backend.queued_messages());
        if (frames == 2) {
            // Queued faster than frames are drawn: one is taken per frame.
            show.backend.post_message(Platform::Msg_Key_Down, Platform::Key_Return);
            show.backend.post_message(Platform::Msg_Key_Up, Platform::Key_Return);
            show.backend.post_message(Platform::Msg_Quit, 7);
        }
    };
    EXPECT_EQ(show.run(), 7);
    // Frames 3 and 4 take the key messages, frame 5 the quit before drawing.
    EXPECT_EQ(show.backend.frames(), 4u);
    EXPECT_EQ(queued, (std::vector<size_t>{0, 0, 2, 1}));
    EXPECT_EQ(show.backend.virtual_sound().calls.back(), "free_device");
}

TEST(Message_Pump, ClosingTheWindowExitsWithZero) {
    Scripted_Show show([](uint64_t) { return Position_Word(0, 0); });
    show.on_frame = [&](uint64_t frames) {
        if (frames == 3)
            show.backend.post_message(Platform::Msg_Close);
    };
    EXPECT_EQ(show.run(), 0);
    EXPECT_TRUE(show.backend.window_destroyed);
    EXPECT_EQ(show.backend.frames(), 4u);
    EXPECT_EQ(show.backend.window_class, "ZIR_Test");
    EXPECT_EQ(show.backend.window_title, "Zizo");
    EXPECT_EQ(show.backend.window_width, 640);
    EXPECT_EQ(show.backend.window_height, 480);
}

TEST(WinMain, NoSoundRule) {
    const struct {
        const char* command_line;
        bool nosound;
    } cases[] = {
        {"", false}, {"-", false}, {"-x", true}, {"- ", true}, {" -x", false}, {"a-", false}, {"-nosound", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Is_No_Sound(c.command_line), c.nosound) << '"' << c.command_line << '"';

    Scripted_Show show([](uint64_t) { return Position_Word(0, 0); });
    show.backend.set_escape_down(true);
    EXPECT_EQ(show.run("-nosound"), 0);
    EXPECT_EQ(show.backend.virtual_sound().calls.front(), "init -2 44100");
}

TEST(Demo, ShowsTheLetterboxFromRow60CutAtTheFrameEnd) {
    // 480 rows in bands of 16 grey levels: only the first 420 fit below row 60.
    auto grey = [](int y) { return 16 + y / 16 * 8; };
    Jpeg_Picture tall{.width = 640, .height = 480, .pixel = [&](int, int y, JSAMPLE* s) {
                          s[0] = s[1] = s[2] = JSAMPLE(grey(y));
                      }};
    Temp_Dir dir;
    Write_File(dir.path / "texture/cinemascope.jpg", Jpeg_Bytes(tall));
    std::filesystem::path data = std::filesystem::current_path();
    std::filesystem::current_path(dir.path);

    Test_Platform platform;
    platform.backend.virtual_sound().position_script = [] { return Position_Word(0, 0); };
    std::vector<uint32_t> still;
    platform.backend.on_flip = [&](Platform::Virtual_Display& display) {
        if (still.empty()) {
            still.resize(640 * 480);
            std::memcpy(still.data(), display.front_buffer.data(), still.size() * 4);
        }
    };
    {
        Demo demo(nullptr, nullptr, true);
        EXPECT_EQ(platform.backend.frames(), 1u);
    }
    std::filesystem::current_path(data);

    ASSERT_EQ(still.size(), 640u * 480);
    EXPECT_TRUE(std::all_of(still.begin(), still.begin() + 60 * 640, [](uint32_t pixel) { return pixel == 0; }));
    for (int y = 8; y < 420; y += 16) {
        int level = int(still[(60 + y) * 640 + 320] & 0xFF);
        EXPECT_NEAR(level, grey(y), 3) << y;
        EXPECT_EQ(still[(60 + y) * 640 + 320] >> 24, 0xFFu);
    }
    EXPECT_NEAR(int(still[479 * 640 + 639] & 0xFF), grey(419), 3);
}
