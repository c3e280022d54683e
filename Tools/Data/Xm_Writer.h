#pragma once

// A FastTracker II extended module (XM, version 0x0104) described in memory,
// and the writer that turns the description into the bytes of a file.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// One channel of one row. Zero means "nothing" in every field, as in the file.
struct Xm_Cell {
    uint8_t note = 0;        // 1..96 = C-0..B-7, Xm_Key_Off
    uint8_t instrument = 0;  // 1-based
    uint8_t volume = 0;      // volume column: 0x10..0x50 sets volume 0..64
    uint8_t effect = 0;      // effect letter's number: 0xD = pattern break, 0xF = speed/tempo
    uint8_t parameter = 0;
};

constexpr uint8_t Xm_Key_Off = 97;

// Note number of a pitch: octave 0..7, semitone 0..11 (C = 0).
constexpr uint8_t Xm_Note(int octave, int semitone) { return uint8_t(octave * 12 + semitone + 1); }

// Volume column byte that sets the channel volume (0..64).
constexpr uint8_t Xm_Volume(int volume) { return uint8_t(0x10 + volume); }

struct Xm_Pattern {
    Xm_Pattern(int rows, int channels)
        : m_rows(rows), m_channels(channels), m_cells(size_t(rows) * size_t(channels)) {}
    Xm_Cell& at(int row, int channel) { return m_cells.at(size_t(row) * size_t(m_channels) + size_t(channel)); }
    const Xm_Cell& at(int row, int channel) const {
        return m_cells.at(size_t(row) * size_t(m_channels) + size_t(channel));
    }
    int m_rows;
    int m_channels;
    std::vector<Xm_Cell> m_cells;  // row by row
};

enum class Xm_Loop : uint8_t { none = 0, forward = 1, ping_pong = 2 };

struct Xm_Sample {
    std::string name;
    std::vector<int16_t> data;  // written as 16-bit deltas
    Xm_Loop loop = Xm_Loop::none;
    uint32_t loop_start = 0;  // in sample frames
    uint32_t loop_length = 0;
    uint8_t volume = 64;
    int8_t finetune = 0;  // 1/128 semitone
    uint8_t panning = 128;
    int8_t relative_note = 0;  // 0: C-4 plays the sample at 8363 Hz
};

struct Xm_Envelope_Point {
    uint16_t tick;
    uint16_t value;  // 0..64
};

struct Xm_Envelope {
    std::vector<Xm_Envelope_Point> points;  // empty: no envelope; at most 12
    int sustain = -1;                       // point index, or -1
    int loop_start = -1, loop_end = -1;     // point indices, or -1
};

struct Xm_Instrument {
    std::string name;
    std::vector<Xm_Sample> samples;  // at most 16
    std::array<uint8_t, 96> note_samples{};  // sample index for each note
    Xm_Envelope volume_envelope;
    uint16_t fadeout = 0;  // volume lost per tick after key off, of 32768
};

struct Xm_Module {
    std::string name;
    int channels = 8;  // 1..32
    int speed = 6;     // ticks per row
    int bpm = 125;
    int restart = 0;
    bool linear_frequencies = true;
    std::vector<uint8_t> orders;  // pattern numbers, 1..256 entries
    std::vector<Xm_Pattern> patterns;  // 1..256 rows each, `channels` wide
    std::vector<Xm_Instrument> instruments;  // at most 128
};

// Throws std::invalid_argument when the description does not fit the format.
std::vector<uint8_t> Write_Xm(const Xm_Module& module);
