#include "Demo.h"
#include "Show_Capture.h"
#include "Texture.h"

#include <gtest/gtest.h>
#include <libopenmpt/libopenmpt.hpp>
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> Read_File(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), {});
}

uint32_t Little_32(const uint8_t* at) { return at[0] | at[1] << 8 | at[2] << 16 | uint32_t(at[3]) << 24; }

// Runs the zizo-capture program, which is built beside the tests' folder,
// inside the test data; its stderr lands in stderr.txt of the work folder.
struct Capture_Program : ::testing::Test {
    void SetUp() override {
        char pattern[] = "/tmp/zizo-capture-test-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        work = pattern;
    }
    void TearDown() override { fs::remove_all(work); }

    int run(const std::string& arguments, const std::string& environment = "") {
        fs::path program = fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "zizo-capture";
        std::string command = environment;
        command.append(" '").append(program.string()).append("' ").append(arguments);
        command.append(" 2>'").append((work / "stderr.txt").string()).append("'");
        int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string messages() {
        std::vector<uint8_t> bytes = Read_File(work / "stderr.txt");
        return std::string(bytes.begin(), bytes.end());
    }
    std::string at(const char* name) { return (work / name).string(); }

    fs::path work;
};

}

// The whole show over the generated data: it ends when the raw order
// reaches 36, after as many frames as the module lasts, and the scenes take
// their turns in the timeline's order.
TEST(Whole_Show, EndsAtOrder36AfterTheModulesLengthWithTheScenesInTurn) {
    std::vector<int> orders, rows;
    int code = Capture_Show(Capture_Settings{}, [&](const Shown_Frame& frame) {
        orders.push_back(frame.order);
        rows.push_back(frame.row);
    });
    EXPECT_EQ(code, 0);

    std::ifstream file("tekno.xm", std::ios::binary);
    openmpt::module module(file);
    const double end = module.set_position_order_row(36, 0);
    const double row_length = end - module.set_position_order_row(35, 63);
    ASSERT_GT(row_length, 0);
    // Frame 0 is the letterbox picture; the music starts with frame 1.
    const double expected_frames = 1 + end * 60;
    EXPECT_NEAR(double(orders.size()), expected_frames, row_length * 60 + 1);

    ASSERT_GE(orders.size(), 2u);
    EXPECT_EQ(orders.front(), -1);
    EXPECT_EQ(orders.back(), 35);
    EXPECT_EQ(rows.back(), 63);
    // The slot follows position(), one row ahead of the row heard.
    std::vector<int> slots, switch_orders;
    int slot = 0;
    for (size_t i = 1; i < orders.size(); ++i) {
        ASSERT_LT(orders[i], 36);
        int next_order = rows[i] == 63 ? orders[i] + 1 : orders[i];
        slot = Scene_Slot(next_order, slot);
        if (slots.empty() || slots.back() != slot) {
            slots.push_back(slot);
            switch_orders.push_back(next_order);
        }
    }
    EXPECT_EQ(slots, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(switch_orders, (std::vector<int>{0, 10, 22, 30}));
}

TEST_F(Capture_Program, TwoRunsGiveTheSameFramesAndSound) {
    for (const char* run_name : {"a", "b"}) {
        std::string y4m = at((std::string(run_name) + ".y4m").c_str());
        std::string wav = at((std::string(run_name) + ".wav").c_str());
        ASSERT_EQ(run("--frames 100 --scale 1 --y4m '" + y4m + "' --wav '" + wav + "'"), 0) << messages();
    }
    std::vector<uint8_t> video = Read_File(work / "a.y4m"), sound = Read_File(work / "a.wav");
    EXPECT_TRUE(video == Read_File(work / "b.y4m"));
    EXPECT_TRUE(sound == Read_File(work / "b.wav"));
    // Not trivially equal: the picture moves and the music sounds.
    const size_t frame_bytes = 640 * 480 * 3 + 6;
    ASSERT_GT(video.size(), 100 * frame_bytes);
    size_t changes = 0;
    for (size_t end = video.size(); end >= 2 * frame_bytes; end -= frame_bytes)
        changes += std::memcmp(&video[end - frame_bytes], &video[end - 2 * frame_bytes], frame_bytes) != 0;
    EXPECT_GT(changes, 10u);
    size_t loud = 0;
    for (size_t i = 44; i + 1 < sound.size(); i += 2)
        loud += int16_t(sound[i] | sound[i + 1] << 8) != 0;
    EXPECT_GT(loud, sound.size() / 8);
}

// A still at 0 s is the letterbox picture copied in from row 60 over a
// black buffer.
TEST_F(Capture_Program, StillAtZeroIsTheLetterboxPictureFromRow60) {
    ASSERT_EQ(run("--frames 2 --still 0 --still-dir '" + work.string() + "'"), 0) << messages();
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, at("still-0.000s.png").c_str())) << image.message;
    image.format = PNG_FORMAT_BGRA;
    std::vector<uint8_t> still(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, still.data(), 0, nullptr));
    ASSERT_EQ(image.width, 640u);
    ASSERT_EQ(image.height, 480u);

    Holder<Texture> picture = Load_Jpeg("texture/cinemascope.jpg");
    ASSERT_EQ(picture->width(), 640);
    const int picture_rows = picture->height();
    ASSERT_LE(60 + picture_rows, 480);
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            const uint8_t* got = &still[(size_t(y) * 640 + x) * 4];
            const bool inside = y >= 60 && y < 60 + picture_rows;
            const uint8_t* want = inside ? picture->pixels() + (size_t(y - 60) * 640 + x) * 4 : nullptr;
            for (int channel = 0; channel < 3; ++channel)
                ASSERT_EQ(got[channel], want ? want[channel] : 0) << x << "," << y << " channel " << channel;
        }
    }
}

// The y4m holds whole frames, each show pixel doubled each way; the WAV
// holds 44100 / fps stereo samples a frame, the rest carried on.
TEST_F(Capture_Program, Y4mAndWavAreWellFormed) {
    const struct {
        int fps;
        int frames;
    } cases[] = {{60, 12}, {48, 10}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fps);
        ASSERT_EQ(run("--frames " + std::to_string(c.frames) + " --fps " + std::to_string(c.fps) +
                      " --y4m '" + at("v.y4m") + "' --wav '" + at("s.wav") + "'"),
                  0)
            << messages();
        std::vector<uint8_t> video = Read_File(work / "v.y4m");
        std::string header =
            "YUV4MPEG2 W1280 H960 F" + std::to_string(c.fps) + ":1 Ip A1:1 C444 XCOLORRANGE=LIMITED\n";
        ASSERT_EQ(std::string(video.begin(), video.begin() + long(header.size())), header);
        const size_t plane = 1280 * 960, frame_bytes = 6 + 3 * plane;
        ASSERT_EQ(video.size(), header.size() + c.frames * frame_bytes);
        for (int frame = 0; frame < c.frames; ++frame) {
            const uint8_t* start = &video[header.size() + frame * frame_bytes];
            ASSERT_EQ(std::string(start, start + 6), "FRAME\n");
            // The last frame: every 2x2 block of every plane is one value.
            if (frame + 1 < c.frames)
                continue;
            for (size_t p = 0; p < 3; ++p) {
                const uint8_t* samples = start + 6 + p * plane;
                for (size_t y = 0; y < 960; y += 2)
                    for (size_t x = 0; x < 1280; x += 2) {
                        uint8_t v = samples[y * 1280 + x];
                        ASSERT_TRUE(samples[y * 1280 + x + 1] == v && samples[(y + 1) * 1280 + x] == v &&
                                    samples[(y + 1) * 1280 + x + 1] == v);
                    }
            }
        }

        std::vector<uint8_t> sound = Read_File(work / "s.wav");
        ASSERT_GE(sound.size(), 44u);
        EXPECT_EQ(std::string(sound.begin(), sound.begin() + 4), "RIFF");
        EXPECT_EQ(Little_32(&sound[4]), sound.size() - 8);
        EXPECT_EQ(std::string(sound.begin() + 8, sound.begin() + 16), "WAVEfmt ");
        EXPECT_EQ(Little_32(&sound[20]), 1u | 2u << 16); // PCM, stereo
        EXPECT_EQ(Little_32(&sound[24]), 44100u);
        EXPECT_EQ(Little_32(&sound[32]), 4u | 16u << 16); // 4 bytes a frame, 16 bits
        EXPECT_EQ(std::string(sound.begin() + 36, sound.begin() + 40), "data");
        const uint32_t samples = Little_32(&sound[40]) / 4;
        EXPECT_EQ(Little_32(&sound[40]), sound.size() - 44);
        EXPECT_EQ(samples, uint32_t(c.frames * 44100 / c.fps));
    }
}

// Every failure is one line and a non-zero exit, before any work is wasted.
TEST_F(Capture_Program, FailuresSayWhatWentWrongInOneLine) {
    fs::create_directory(work / "empty");
    const struct {
        std::string arguments, environment, words;
        int code;
    } cases[] = {
        {"--null --data '" + at("empty") + "'", "", "zizo-data", 1},
        {"--wav /no/such/folder/s.wav --frames 1", "", "/no/such/folder/s.wav", 1},
        {"--sheet /no/such/folder/s.png --frames 1", "", "/no/such/folder/s.png", 1},
        {"--still 0 --still-dir /no/such/folder --frames 1", "", "/no/such/folder", 1},
        {"'" + at("v.mp4") + "' --frames 1", "PATH='" + at("empty") + "'", "--y4m FILE --wav FILE", 1},
        {"--still 5 --frames 10 --still-dir '" + work.string() + "'", "", "no still at 5.000 s", 1},
        {"--still-at 40:0 --frames 10 --still-dir '" + work.string() + "'", "", "order 40 row 0", 1},
        {"", "", "nothing to write", 2},
        {"--null --y4m x.y4m", "", "--null", 2},
        {"--fps 0 --null", "", "--fps", 2},
        {"show.avi", "", ".mp4", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        EXPECT_EQ(run(c.arguments, c.environment), c.code);
        std::string text = messages();
        EXPECT_NE(text.find(c.words), std::string::npos) << text;
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << text;
    }
}
