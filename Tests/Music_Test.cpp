#include "Music.h"
#include "Test_Platform.h"
#include "Throw_Assertion.h"
#include "Timer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(Music, PositionIsOneRowAheadInSixtyFourRowPatterns) {
    Test_Platform platform;
    uint32_t word = 0;
    platform.backend.virtual_sound().position_script = [&] { return word; };
    Module_Music music("tekno.xm", nullptr, false);
    const struct {
        uint32_t word;
        int order, row;
    } cases[] = {
        {Position_Word(5, 62), 5, 63}, {Position_Word(5, 63), 6, 0},   {Position_Word(5, 0), 5, 1},
        {Position_Word(5, 70), 6, 0},  {0xFFFFFFFF, 65536, 0},
    };
    for (const auto& c : cases) {
        word = c.word;
        Music_Position position = music.position();
        EXPECT_EQ(position.m_order, c.order) << std::hex << c.word;
        EXPECT_EQ(position.row(), c.row) << std::hex << c.word;
    }
    word = 0xFFFFFFFF;
    EXPECT_EQ(music.order(), 65535);
    EXPECT_EQ(music.row(), 65535);
}

TEST(Music, CallsTheDeviceInOrderAndPublishesItself) {
    Test_Platform platform;
    Platform::Virtual_Sound& sound = platform.backend.virtual_sound();
    sound.position_script = [] { return 0u; };
    {
        MM_Timer timer;
        Module_Music music("tekno.xm", nullptr, true);
        EXPECT_EQ(Music::instance(), &music);
        EXPECT_EQ(Timer::instance(), &timer);
        music.play();
        music.stop();
        EXPECT_THROW(
            {
                try {
                    Module_Music second("tekno.xm", nullptr, false);
                } catch (const QEV_Lib::Assertion_Failure& failure) {
                    EXPECT_EQ(failure.m_expression, "s_music == 0");
                    EXPECT_EQ(failure.m_file, "Music");
                    throw;
                }
            },
            QEV_Lib::Assertion_Failure);
        EXPECT_EQ(Music::instance(), &music);
        EXPECT_THROW(music.not_implemented(), QEV_Lib::Assertion_Failure);
    }
    EXPECT_EQ(Music::instance(), nullptr);
    EXPECT_EQ(Timer::instance(), nullptr);
    EXPECT_EQ(sound.calls, (std::vector<std::string>{"init -2 44100", "set_volume 100", "start", "load tekno.xm",
                                                     "play", "stop_channel", "stop_device", "free_module",
                                                     "free_device"}));
}

TEST(Music, FailuresNameTheirCause) {
    Test_Platform platform;
    Platform::Virtual_Sound& sound = platform.backend.virtual_sound();
    sound.position_script = [] { return 0u; };
    sound.refuse_device = true;
    try {
        Module_Music music("tekno.xm", nullptr, false);
        FAIL();
    } catch (const QEV_Lib::Assertion_Failure& failure) {
        EXPECT_EQ(failure.m_expression, "BASS_Init( nosound?-2:-1, 44100, 0, hwnd)");
        EXPECT_NE(failure.m_message.find("-nosound"), std::string::npos);
    }
    EXPECT_EQ(Music::instance(), nullptr);

    sound.refuse_device = false;
    sound.position_script = nullptr;
    try {
        Module_Music music("missing.xm", nullptr, false);
        FAIL();
    } catch (const QEV_Lib::Assertion_Failure& failure) {
        EXPECT_NE(failure.m_message.find("missing.xm"), std::string::npos);
    }
    EXPECT_EQ(Music::instance(), nullptr);

    sound.position_script = [] { return 0u; };
    sound.refuse_play = true;
    Module_Music music("tekno.xm", nullptr, false);
    try {
        music.play();
        FAIL();
    } catch (const QEV_Lib::Assertion_Failure& failure) {
        EXPECT_EQ(failure.m_expression, "BASS_MusicPlay(m_mod)");
    }
}

TEST(Timer, ReadsTheClockOnlyAtUpdate) {
    Test_Platform platform;
    platform.backend.set_milliseconds(123456);
    MM_Timer timer;
    EXPECT_EQ(timer.seconds(), 0.0);
    timer.update();
    EXPECT_DOUBLE_EQ(timer.seconds(), 123.456);
    platform.backend.set_milliseconds(200000);
    EXPECT_DOUBLE_EQ(timer.seconds(), 123.456);
    timer.reset();
    EXPECT_EQ(timer.seconds(), 0.0);
    platform.backend.set_milliseconds(0xFFFFFFFF);
    timer.update();
    EXPECT_DOUBLE_EQ(timer.seconds(), 4294967.295);
}
