#include "Module_Player.h"
#include "Music.h"
#include "Sdl_Sound.h"
#include "Test_Platform.h"
#include "Throw_Assertion.h"
#include "Xm_Writer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

// At speed 6 and 125 BPM a row lasts 0.12 s: exactly 5292 samples.
constexpr uint64_t Row_Samples = 5292;

// Orders 0..3: a 16-row pattern, an 80-row one, a 64-row one that breaks
// at its row 10 to row 5 of the next order, and the 16-row one again.
// Returns the rows in the order they play.
std::vector<Platform::Module_Row> Write_Test_Module(const std::string& file_name) {
    Xm_Module module;
    module.channels = 2;
    Xm_Pattern short_pattern(16, 2), long_pattern(80, 2), breaking(64, 2);
    short_pattern.at(0, 0) = Xm_Cell{Xm_Note(4, 0), 1, 0, 0, 0};
    breaking.at(10, 1).effect = 0xD;
    breaking.at(10, 1).parameter = 0x05; // decimal digits: row 5
    module.patterns = {short_pattern, long_pattern, breaking};
    module.orders = {0, 1, 2, 0};
    Xm_Sample tone;
    for (int i = 0; i < 64; ++i)
        tone.data.push_back(i < 32 ? 8000 : -8000);
    tone.loop = Xm_Loop::forward;
    tone.loop_length = 64;
    module.instruments = {Xm_Instrument{"tone", {tone}, {}, {}, 0}};
    std::vector<uint8_t> bytes = Write_Xm(module);
    std::ofstream(file_name, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());

    std::vector<Platform::Module_Row> rows;
    for (int r = 0; r < 16; ++r)
        rows.push_back({0, r});
    for (int r = 0; r < 80; ++r)
        rows.push_back({1, r});
    for (int r = 0; r <= 10; ++r)
        rows.push_back({2, r});
    for (int r = 5; r < 16; ++r)
        rows.push_back({3, r});
    return rows;
}

// The row that plays at a sample, or the last one after the end. At a row
// boundary the row may be the one of the sample before, or reported up to
// one render block early.
void Expect_Row_At(const std::vector<Platform::Module_Row>& rows, uint64_t sample, Platform::Module_Row got) {
    size_t index = std::min<size_t>((sample > 0 ? sample - 1 : 0) / Row_Samples, rows.size() - 1);
    size_t next = std::min<size_t>((sample + Platform::Module_Player::Block_Frames) / Row_Samples, rows.size() - 1);
    bool matches = (got.order == rows[index].order && got.row == rows[index].row) ||
                   (got.order == rows[next].order && got.row == rows[next].row);
    EXPECT_TRUE(matches) << "sample " << sample << ": got " << got.order << "/" << got.row << ", expected "
                         << rows[index].order << "/" << rows[index].row;
}

Platform::Module_Row Row_Of(uint32_t word) { return {int(word & 0xFFFF), int(word >> 16)}; }

}

TEST(Module_Player, HeardRowFollowsTheModuleThroughShortLongAndBrokenPatterns) {
    std::vector<Platform::Module_Row> rows = Write_Test_Module("player_rows.xm");
    std::string reason;
    auto player = Platform::Module_Player::load("player_rows.xm", &reason);
    ASSERT_TRUE(player) << reason;
    // A device that asks for 512 frames at a time and holds two more chunks
    // (the one queued and the one in its own buffer) before the speaker.
    constexpr uint64_t Chunk = 512, Latency = 2 * Chunk;
    std::vector<int16_t> chunk(2 * Chunk);
    const uint64_t total = rows.size() * Row_Samples + 20 * Chunk;
    while (player->rendered() < total) {
        player->render(chunk.data(), Chunk);
        uint64_t heard = player->rendered() - Chunk - Latency;
        if (player->rendered() >= Chunk + Latency)
            Expect_Row_At(rows, heard, player->row_at(heard));
    }
    EXPECT_TRUE(player->ended());
    Platform::Module_Row last = player->row_at(player->rendered());
    EXPECT_EQ(last.order, 3);
    EXPECT_EQ(last.row, 15);
    // After the end the module is silent.
    for (int16_t sample : chunk)
        ASSERT_EQ(sample, 0);
}

TEST(Heard_Sample, TrailsTheRenderedCountByTheDevicesChunksAndNeverRunsBack) {
    Platform::Heard_Sample heard(512);
    EXPECT_EQ(heard.at(0.0), 0u); // nothing rendered yet
    const struct {
        uint64_t rendered; // after a callback at `callback`, or 0 for no callback
        double callback, query;
        uint64_t expected;
    } steps[] = {
        {1024, 1.0, 1.0, 0},           // both chunks still ahead of the speaker
        {0, 0, 1.005, 220},            // 5 ms later: 220 frames on
        {0, 0, 1.5, 512},              // a late callback: held one chunk behind
        {1536, 1.5, 1.5, 512},         // the callback catches up: no jump back
        {2048, 1.51, 1.51 + 0.002, 1112}, // 2048 - 1024 + 88
        {2560, 1.515, 1.515, 1536},    // an early callback moves the floor on
        {2560, 1.515, 1.4, 1536},      // a query dated before the callback
    };
    for (const auto& step : steps) {
        if (step.rendered != 0)
            heard.rendered(step.rendered, step.callback);
        EXPECT_EQ(heard.at(step.query), step.expected) << step.rendered << " at " << step.query;
    }
}

TEST(Virtual_Sound, RendersTheModuleOfflineInStepWithTheVirtualClock) {
    Test_Platform platform;
    std::vector<Platform::Module_Row> rows = Write_Test_Module("virtual_rows.xm");
    Platform::Virtual_Sound& sound = platform.backend.virtual_sound();
    std::vector<size_t> handed;
    bool loud = false;
    sound.on_samples = [&](const int16_t* stereo, size_t frames) {
        handed.push_back(frames);
        for (size_t i = 0; i < 2 * frames; ++i)
            loud = loud || stereo[i] != 0;
    };
    auto display = platform.backend.create_display();
    Module_Music music("virtual_rows.xm", nullptr, true);

    display->flip(); // before play: silence, and the position stays at the start
    EXPECT_EQ(handed, std::vector<size_t>{735});
    EXPECT_FALSE(loud);
    music.play();
    uint64_t frames = 0;
    for (int flip = 0; flip < 60 * 15; ++flip) {
        Platform::Module_Row now{music.order(), music.row()};
        Expect_Row_At(rows, frames * 735, now);
        display->flip();
        ++frames;
    }
    EXPECT_TRUE(loud);
    EXPECT_EQ(music.order(), 3); // after the end: the last row, no wrap
    EXPECT_EQ(music.row(), 15);

    // Rates that do not divide 44100 carry the remainder: one second of
    // flips at 64 a second hands over exactly one second of sound.
    platform.backend.set_frame_rate(64);
    handed.clear();
    for (int flip = 0; flip < 64; ++flip)
        display->flip();
    size_t total = 0;
    for (size_t count : handed)
        total += count;
    EXPECT_EQ(total, 44100u);
    EXPECT_EQ(handed.front(), 689u);
}

TEST(Sdl_Sound, NoSoundDeviceAdvancesWithTimeAtTheModulesSpeed) {
    std::vector<Platform::Module_Row> rows = Write_Test_Module("silent_rows.xm");
    double now = 100.0;
    Platform::Sdl_Sound sound([&] { return now; });
    ASSERT_TRUE(sound.init(Platform::Sound::No_Sound_Device, 44100, nullptr));
    std::string reason;
    uint32_t module = sound.load_module("silent_rows.xm", &reason);
    ASSERT_NE(module, 0u) << reason;
    sound.start();
    now += 5.0; // time before play does not count
    ASSERT_TRUE(sound.play(module));
    double started = now;
    size_t previous = 0;
    while (now - started < 15.0) {
        uint64_t sample = uint64_t((now - started) * 44100);
        Platform::Module_Row row = Row_Of(sound.position(module));
        Expect_Row_At(rows, sample, row);
        // Never backwards: the row's place in the play order only grows.
        size_t index = 0;
        while (index < rows.size() && !(rows[index].order == row.order && rows[index].row == row.row))
            ++index;
        ASSERT_LT(index, rows.size());
        EXPECT_GE(index, previous);
        previous = index;
        now += 0.007;
    }
    EXPECT_EQ(Row_Of(sound.position(module)).order, 3);
    EXPECT_EQ(Row_Of(sound.position(module)).row, 15);

    // A stopped module holds its row; play goes on from it.
    ASSERT_TRUE(sound.play_from(module, Position_Word(1, 0), 0, true));
    now += 0.5;
    sound.stop_channel(module);
    Platform::Module_Row held = Row_Of(sound.position(module));
    now += 10.0;
    EXPECT_EQ(Row_Of(sound.position(module)).row, held.row);
    sound.play(module);
    now += 0.12;
    EXPECT_EQ(Row_Of(sound.position(module)).row, held.row + 1);
    sound.free_module(module);
    EXPECT_EQ(sound.position(module), 0xFFFFFFFFu);
}

TEST(Sdl_Sound, DefaultDeviceHeardRowMovesOnWithThePlayback) {
    std::vector<Platform::Module_Row> rows = Write_Test_Module("device_rows.xm");
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    auto clock = [] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
    };
    Platform::Sdl_Sound sound(clock);
    ASSERT_TRUE(sound.init(Platform::Sound::Default_Device, 44100, nullptr));
    sound.set_volume(100);
    sound.start();
    std::string reason;
    uint32_t module = sound.load_module("device_rows.xm", &reason);
    ASSERT_NE(module, 0u) << reason;
    ASSERT_TRUE(sound.play(module));
    double started = clock();
    size_t previous = 0;
    while (clock() - started < 0.6) {
        Platform::Module_Row row = Row_Of(sound.position(module));
        size_t index = 0;
        while (index < rows.size() && !(rows[index].order == row.order && rows[index].row == row.row))
            ++index;
        ASSERT_LT(index, rows.size());
        EXPECT_GE(index, previous);
        previous = index;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_GE(previous, 1u);
    sound.stop_device();
    sound.free_module(module);
    sound.free_device();
}

TEST(Sound, LoadFailuresNameTheFileAndTheReason) {
    std::ofstream("empty.xm").flush();
    std::ofstream("text.xm") << "This is a note about music, not music.\n";
    const struct {
        const char* file;
        const char* reason;
    } cases[] = {
        {"no_such_module.xm", "No such file or directory"},
        {"empty.xm", "the file is empty"},
        {"text.xm", "libopenmpt cannot read it as a module"},
    };
    for (const auto& c : cases) {
        Test_Platform platform;
        try {
            Module_Music music(c.file, nullptr, true);
            ADD_FAILURE() << c.file << " loaded";
        } catch (const QEV_Lib::Assertion_Failure& failure) {
            EXPECT_NE(failure.m_message.find(c.file), std::string::npos) << failure.m_message;
            EXPECT_NE(failure.m_message.find(c.reason), std::string::npos) << failure.m_message;
        }
        std::string reason;
        Platform::Sdl_Sound sound([] { return 0.0; });
        EXPECT_EQ(sound.load_module(c.file, &reason), 0u);
        EXPECT_NE(reason.find(c.reason), std::string::npos) << reason;
    }
}
