#pragma once

// What the scene tests share: flat pictures written into a directory of the
// test's own, and the screen, music and clock a scene reads, with the
// music's position scripted.

#include "Music.h"
#include "Screen.h"
#include "Test_Platform.h"
#include "Timer.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

// An uncompressed TGA picture filled with one level: a grey byte, or with 4
// bytes per pixel that byte in blue, green and red.
inline void Write_Flat_Tga(const std::filesystem::path& file, int width, int height, uint8_t level,
                           int bytes_per_pixel = 1) {
    std::vector<uint8_t> bytes(18, 0);
    bytes[2] = bytes_per_pixel == 1 ? 3 : 2;
    bytes[12] = uint8_t(width);
    bytes[13] = uint8_t(width >> 8);
    bytes[14] = uint8_t(height);
    bytes[15] = uint8_t(height >> 8);
    bytes[16] = uint8_t(8 * bytes_per_pixel);
    bytes[17] = 0x20;
    for (long i = 0; i < long(width) * height; ++i)
        for (int b = 0; b < bytes_per_pixel; ++b)
            bytes.push_back(b == 3 ? 0xFF : level);
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), long(bytes.size()));
}

// A fresh directory that is the working directory while it lives.
class Picture_Dir {
public:
    Picture_Dir() : m_previous(std::filesystem::current_path()) {
        std::string pattern = (std::filesystem::temp_directory_path() / "zizo-scene-XXXXXX").string();
        m_path = mkdtemp(pattern.data());
        std::filesystem::current_path(m_path);
    }
    ~Picture_Dir() {
        std::filesystem::current_path(m_previous);
        std::filesystem::remove_all(m_path);
    }

private:
    std::filesystem::path m_previous;
    std::filesystem::path m_path;
};

struct Scripted_Platform : Test_Platform {
    Scripted_Platform() { backend.virtual_sound().position_script = [this] { return word; }; }
    uint32_t word = 0;
};

struct Scene_Rig : Scripted_Platform {
    // The music plays this row; position() reports the next one.
    void play(int order, int row) { word = Position_Word(order, row); }
    // position() reports this row (row 0 of order 0 cannot be reported).
    void at(int order, int row) { row > 0 ? play(order, row - 1) : play(order - 1, 63); }
    void clock(uint32_t milliseconds) {
        backend.set_milliseconds(milliseconds);
        timer.update();
    }
    uint32_t pixel(int x, int y) { return screen.pixels()[y * screen.width() + x]; }

    DDraw_Screen screen{nullptr, nullptr, 640, 480, 32};
    Module_Music music{"tekno.xm", nullptr, false};
    MM_Timer timer;
};

// Text i is flat grey 9 * (i + 1), so a pixel of row 0 tells which one is shown.
inline void Write_Texts() {
    const struct {
        char letter;
        int count;
    } groups[] = {{'a', 8}, {'b', 8}, {'c', 10}};
    int index = 0;
    for (const auto& group : groups)
        for (int number = 1; number <= group.count; ++number)
            Write_Flat_Tga("tekstit/" + std::string(1, group.letter) + std::to_string(number) + ".tga", 640, 480,
                           uint8_t(9 * ++index));
}

// FNV-1a over the frame buffer: a short fingerprint of a whole frame.
inline uint64_t Frame_Hash(Screen& screen) {
    uint64_t hash = 0xcbf29ce484222325ull;
    const uint32_t* pixels = screen.pixels();
    for (int i = 0, n = screen.width() * screen.height(); i < n; ++i)
        for (int b = 0; b < 4; ++b) {
            hash ^= (pixels[i] >> (8 * b)) & 0xFF;
            hash *= 0x100000001b3ull;
        }
    return hash;
}
