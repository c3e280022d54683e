#include "Module.h"

#include "Synth.h"
#include "Xm_Writer.h"

#include <algorithm>
#include <cmath>
#include <functional>

// tekno.xm: 171 BPM at speed 6 (87.72 ms a row), four rows a beat, sixteen a
// bar, 37 patterns of 64 rows played once each; order 36 is the silent end.
//
// The show reads most of its cues from the row after the one playing (the
// music's position() leads by one row), so the whole score is written one row
// early: a sound placed on "row r of order o" below is stored on the row
// before, and is heard while the picture reacts to row r. The cues that the
// tunnel reads from the row playing now are placed at that row plus one.

namespace {

constexpr int Rows = 64;
constexpr int Orders = 37;
constexpr int Ending = 36;

enum Channel {
    Kick, Snare, Clap, Closed_Hat, Open_Hat, Crash, Bass, Stab, Pad_1, Pad_2, Pad_3, Lead, Riser, Tom,
    Rim, Kick_Layer, Bass_Layer, Channel_Count
};

// One channel plays a full-scale sample at about -13 dBFS, so the kick and
// the bass sound on two channels each: the weight a dance mix needs.
Channel Source_Of(int channel) {
    if (channel == Kick_Layer) return Kick;
    if (channel == Bass_Layer) return Bass;
    return Channel(channel);
}

enum Instrument {
    Kick_Drum = 1, Snare_Drum, Hand_Clap, Closed_Hat_Cymbal, Open_Hat_Cymbal, Crash_Cymbal, Bass_Synth,
    Minor_Stab, Major_Stab, Pad_Synth, Lead_Synth, Noise_Riser, Tom_Drum, Rim_Shot
};

// How loud each channel sits in the mix, of 64.
constexpr int Mix[Channel_Count] = {64, 64, 64, 64, 60, 44, 64, 56, 64, 64, 64, 48, 50, 60, 52, 64, 64};

uint8_t Note_Of(int midi_note) { return uint8_t(midi_note - 11); }  // MIDI 60 is the module's C-4

// The harmony turns every two bars: Am, F, Dm, Em.
struct Chord {
    int bass;              // MIDI note of the root, low
    int stab;              // root of the stab chord
    bool minor;
    int pad[3];
};
constexpr Chord Progression[4] = {
    {33, 57, true, {57, 60, 64}},
    {29, 53, false, {57, 60, 65}},
    {38, 50, true, {57, 62, 65}},
    {40, 52, true, {55, 59, 64}},
};
const Chord& Chord_At(int order, int row) { return Progression[(order * 2 + row / 32) % 4]; }

// A small generator of our own, for the glitches: the same on every run.
class Dice {
public:
    int roll(int sides) {
        m_state = m_state * 1103515245u + 12345u;
        return int((m_state >> 16) % uint32_t(sides));
    }

private:
    uint32_t m_state = 0x7EC40;
};

class Score {
public:
    Score() : m_cells(size_t(Orders * Rows) * Channel_Count) {}

    // A note on row `row` of `order` as the show's cues count rows; rows
    // beyond the pattern run on into the next one.
    void note(int order, int row, Channel channel, Instrument instrument, int midi_note, int velocity) {
        if (Xm_Cell* cell = at(order, row, channel)) {
            cell->note = Note_Of(midi_note);
            cell->instrument = uint8_t(instrument);
            cell->volume = uint8_t(std::clamp(velocity, 0, 64));
        }
    }
    void hit(int order, int row, Channel channel, Instrument instrument, int velocity) {
        note(order, row, channel, instrument, 60, velocity);
    }
    void key_off(int order, int row, Channel channel) {
        if (Xm_Cell* cell = at(order, row, channel)) cell->note = Xm_Key_Off;
    }
    void effect(int order, int row, Channel channel, uint8_t effect, uint8_t parameter) {
        if (Xm_Cell* cell = at(order, row, channel)) {
            cell->effect = effect;
            cell->parameter = parameter;
        }
    }
    void cut_all(int order, int row) {
        for (int channel = 0; channel < Channel_Count; ++channel) effect(order, row, Channel(channel), 0xE, 0xC0);
    }

    // The patterns, with velocities (kept in the volume field until now)
    // scaled by the channel's mix and by gain(channel, order, row); held
    // notes follow the gain row by row.
    std::vector<Xm_Pattern> patterns(const std::function<double(int, int, int)>& gain) const {
        std::vector<Xm_Pattern> patterns(Orders, Xm_Pattern(Rows, Channel_Count));
        for (int channel = 0; channel < Channel_Count; ++channel) {
            int held = 0;
            int last_volume = -1;
            for (int index = 0; index < Orders * Rows; ++index) {
                const int order = index / Rows, row = index % Rows;
                Xm_Cell cell = m_cells[size_t(index) * Channel_Count + size_t(Source_Of(channel))];
                // The gain of the row the listener hears this one as.
                const double g = gain(channel, (index + 1) / Rows, (index + 1) % Rows);
                if (cell.note == Xm_Key_Off) held = 0;
                if (cell.note && cell.note != Xm_Key_Off) held = cell.volume;
                const int volume = int(std::lround(held * Mix[channel] / 64.0 * g));
                if (cell.note && cell.note != Xm_Key_Off) {
                    cell.volume = Xm_Volume(volume);
                    last_volume = volume;
                } else if (held && volume != last_volume && cell.volume == 0) {
                    cell.volume = Xm_Volume(volume);
                    last_volume = volume;
                }
                patterns[size_t(order)].at(row, channel) = cell;
            }
        }
        return patterns;
    }

private:
    Xm_Cell* at(int order, int row, Channel channel) {
        const int index = order * Rows + row - 1;
        if (index < 0 || index >= Orders * Rows) return nullptr;
        return &m_cells[size_t(index) * Channel_Count + size_t(channel)];
    }
    std::vector<Xm_Cell> m_cells;
};

// ---- Parts of the arrangement, each filling one order.

void Kick_Two_Step(Score& score, int order, int velocity) {
    for (int row = 0; row < Rows; row += 16) {
        score.hit(order, row, Kick, Kick_Drum, velocity);
        score.hit(order, row + 10, Kick, Kick_Drum, velocity);
    }
}

void Kick_Four(Score& score, int order, int velocity, int from = 0, int step = 4) {
    for (int row = from; row < Rows; row += step) score.hit(order, row, Kick, Kick_Drum, velocity);
}

void Backbeat(Score& score, int order, int velocity, int from = 0) {
    for (int row = from + 4; row < Rows; row += 8) {
        score.hit(order, row, Clap, Hand_Clap, velocity);
        if (row % 16 == 12) score.hit(order, row, Snare, Snare_Drum, velocity * 3 / 4);
    }
}

// Closed hats on every sixteenth, open hats on the off-beats.
void Hats(Score& score, int order, int velocity, bool open, bool sixteenths) {
    for (int row = 0; row < Rows; ++row) {
        if (row % 4 == 2) {
            if (open) score.hit(order, row, Open_Hat, Open_Hat_Cymbal, velocity * 5 / 4);
            score.hit(order, row, Closed_Hat, Closed_Hat_Cymbal, velocity);
        } else if (sixteenths) {
            score.hit(order, row, Closed_Hat, Closed_Hat_Cymbal, row % 2 ? velocity * 3 / 4 : velocity);
        }
    }
}

// A rolling line on the chord's root, off the kick, with octave jumps.
void Bassline(Score& score, int order, int velocity, int from = 0) {
    static const struct {
        int row, interval, accent;
    } steps[] = {{2, 0, 64}, {3, 0, 48}, {6, 12, 56}, {7, 0, 48}, {8, 0, 52}, {12, 0, 60}, {14, 12, 56}, {15, 7, 44}};
    for (int bar = from; bar < Rows; bar += 16)
        for (const auto& step : steps)
            score.note(order, bar + step.row, Bass, Bass_Synth, Chord_At(order, bar).bass + step.interval,
                       velocity * step.accent / 64);
}

void Bass_Roots(Score& score, int order, int velocity, int step) {
    for (int row = 0; row < Rows; row += step)
        score.note(order, row, Bass, Bass_Synth, Chord_At(order, row).bass, velocity);
}

void Stab_At(Score& score, int order, int row, int velocity) {
    const Chord& chord = Chord_At(order, std::min(row, Rows - 1));
    score.note(order, row, Stab, chord.minor ? Minor_Stab : Major_Stab, chord.stab, velocity);
}

void Pads(Score& score, int order, int velocity, int transpose = 0, int from = 0) {
    for (int row = from; row < Rows; row += 32 - row % 32) {
        const Chord& chord = Chord_At(order, row);
        for (int voice = 0; voice < 3; ++voice)
            score.note(order, row, Channel(Pad_1 + voice), Pad_Synth, chord.pad[voice] + transpose, velocity);
    }
}

// The melody runs over the four chords, two orders long.
void Lead_Phrase(Score& score, int order, int velocity) {
    static const struct {
        int row, note, length;
    } phrase[] = {
        {0, 76, 3},   {3, 74, 3},   {6, 72, 4},   {10, 69, 6},  {16, 72, 2},  {18, 74, 2},  {20, 76, 8},
        {32, 77, 3},  {35, 76, 3},  {38, 72, 4},  {42, 69, 6},  {48, 72, 4},  {52, 76, 4},  {56, 77, 6},
        {64, 74, 3},  {67, 72, 3},  {70, 69, 4},  {74, 65, 6},  {80, 69, 2},  {82, 72, 2},  {84, 74, 8},
        {96, 71, 3},  {99, 72, 3},  {102, 74, 4}, {106, 76, 10}, {116, 79, 4}, {120, 76, 4}, {124, 74, 4},
    };
    const int start = (order % 2) * Rows;
    for (const auto& step : phrase) {
        if (step.row < start || step.row >= start + Rows) continue;
        score.note(order, step.row - start, Lead, Lead_Synth, step.note, velocity);
        score.key_off(order, step.row - start + step.length, Lead);
    }
}

void Snare_Roll(Score& score, int order, int from, int to, int step, int velocity_from, int velocity_to) {
    for (int row = from; row < to; row += step) {
        const int velocity = velocity_from + (velocity_to - velocity_from) * (row - from) / std::max(1, to - from);
        score.hit(order, row, Snare, Snare_Drum, velocity);
    }
}

void Crash_At(Score& score, int order, int row) { score.hit(order, row, Crash, Crash_Cymbal, 64); }

// A riser that peaks at `row`, two bars long.
void Riser_To(Score& score, int order, int row, int midi_note = 60) {
    score.note(order, row - 32, Riser, Noise_Riser, midi_note, 64);
}

// ---- The sections.

void Intro(Score& score) {
    // Order 0 pulses on every beat, order 1 on every eighth; the pads swell.
    for (int row = 0; row < Rows; row += 4) score.hit(0, row, Kick, Kick_Drum, 30 + row / 4);
    Pads(score, 0, 40);
    score.note(0, 1, Pad_1, Pad_Synth, 57, 40);  // row 0 is before the music starts
    score.note(0, 1, Pad_2, Pad_Synth, 60, 40);
    score.note(0, 1, Pad_3, Pad_Synth, 64, 40);
    for (int row = 0; row < Rows; row += 2) {
        if (row % 4 == 0) score.hit(1, row, Kick, Kick_Drum, 52);
        else score.hit(1, row, Rim, Rim_Shot, 28 + row / 3);
    }
    Pads(score, 1, 48);
    for (int row = 32; row < Rows; row += 2) score.note(1, row, Bass, Bass_Synth, Chord_At(1, row).bass, 44);

    // Order 2: everything stops on rows 3 to 11, then goes on.
    score.hit(2, 0, Kick, Kick_Drum, 60);
    score.note(2, 0, Bass, Bass_Synth, Chord_At(2, 0).bass, 52);
    score.hit(2, 2, Rim, Rim_Shot, 40);
    score.cut_all(2, 3);
    Crash_At(score, 2, 12);
    Pads(score, 2, 48, 0, 12);
    for (int row = 12; row < Rows; row += 2) {
        if (row % 4 == 0) score.hit(2, row, Kick, Kick_Drum, 56);
        else score.hit(2, row, Closed_Hat, Closed_Hat_Cymbal, 48);
        score.note(2, row, Bass, Bass_Synth, Chord_At(2, row).bass + (row % 8 == 6 ? 12 : 0), 48);
    }

    // Order 3: the build.
    Kick_Four(score, 3, 58);
    Hats(score, 3, 44, false, true);
    Bassline(score, 3, 52);
    Pads(score, 3, 44);
    Snare_Roll(score, 3, 0, 32, 4, 20, 34);
    Snare_Roll(score, 3, 32, 48, 2, 34, 46);
    Snare_Roll(score, 3, 48, 64, 1, 46, 64);
    Riser_To(score, 4, 0);
}

void Main_Groove(Score& score) {
    for (int order = 4; order <= 7; ++order) {
        Kick_Two_Step(score, order, 64);
        Backbeat(score, order, 60);
        Hats(score, order, 48, order >= 5, true);
        Bassline(score, order, 60);
        Pads(score, order, 36);
        // The stabs land with the texts and the spin kicks.
        for (int row = 0; row < Rows; row += 16) {
            Stab_At(score, order, row, 60);
            Stab_At(score, order, row + 10, 52);
        }
        if (order >= 6) Lead_Phrase(score, order, 48);
    }
    Crash_At(score, 4, 0);
    Snare_Roll(score, 7, 56, 64, 1, 36, 60);
}

void Spin_Up(Score& score) {
    // The figure spins ever faster: four risers climbing, the beat tightening.
    const int risers[4] = {60, 62, 64, 67};
    for (int i = 0; i < 4; ++i) score.note(8 + i / 2, (i % 2) * 32, Riser, Noise_Riser, risers[i], 48 + 4 * i);
    for (int order = 8; order <= 9; ++order) {
        Kick_Four(score, order, 60);
        Hats(score, order, 44, true, order == 9);
        Bass_Roots(score, order, 52, 2);
        Pads(score, order, 40);
        Backbeat(score, order, 44);
    }
    Snare_Roll(score, 9, 32, 48, 2, 30, 44);
    Snare_Roll(score, 9, 48, 62, 1, 44, 64);
    score.cut_all(9, 62);
}

// The tunnel's cues are read from the row playing, so its rows are counted
// from the row after.
int Now(int row) { return row + 1; }

void Tunnel_Accents(Score& score, int order, int velocity) {
    for (int row : {22, 54}) {
        Stab_At(score, order, Now(row), velocity);
        score.hit(order, Now(row), Open_Hat, Open_Hat_Cymbal, 56);
    }
}

// Hits on the rows with row mod 8 = 3 from `from` to below `to`.
void Tunnel_Hits(Score& score, int order, int from, int to) {
    for (int row = 3; row < to; row += 8) {
        if (row < from) continue;
        score.hit(order, Now(row), Clap, Hand_Clap, 64);
        score.hit(order, Now(row), Snare, Snare_Drum, 56);
    }
}

// The swing of rows 49 to 57 of orders 11 and 13: toms falling, the big
// reversal on row 53.
void Tunnel_Fill(Score& score, int order) {
    const struct {
        int row, note, velocity;
    } fill[] = {{49, 57, 40}, {51, 52, 58}, {53, 45, 64}, {55, 52, 40}, {57, 45, 60}};
    for (const auto& step : fill) score.note(order, Now(step.row), Tom, Tom_Drum, step.note, step.velocity);
    score.hit(order, Now(53), Kick, Kick_Drum, 64);
    score.hit(order, Now(53), Crash, Crash_Cymbal, 40);
}

void Tunnel(Score& score) {
    for (int order = 10; order <= 13; ++order) {
        const bool breakdown = order == 12;
        const int beat_from = breakdown ? Now(27) : 0;
        if (breakdown) {
            score.hit(12, beat_from, Kick, Kick_Drum, 64);
            for (int row = 32; row < Rows; row += 16) {
                score.hit(12, row, Kick, Kick_Drum, 64);
                score.hit(12, row + 10, Kick, Kick_Drum, 64);
            }
            Hats(score, 12, 44, true, false);
            Bassline(score, 12, 56, 32);
            score.note(12, beat_from, Bass, Bass_Synth, Chord_At(12, beat_from).bass, 60);
            Crash_At(score, 12, beat_from);
            Lead_Phrase(score, 12, 40);
            Pads(score, 12, 48);
            Tunnel_Hits(score, 12, 27, Rows);
        } else {
            Kick_Two_Step(score, order, 64);
            Hats(score, order, 48, true, true);
            Bassline(score, order, 60);
            Pads(score, order, 32);
            Tunnel_Hits(score, order, 0, order == 10 ? Rows : 48);
            if (order != 10) Tunnel_Fill(score, order);
            if (order == 13) Lead_Phrase(score, order, 44);
        }
        Tunnel_Accents(score, order, 60);
    }
    Crash_At(score, 10, 0);
    Riser_To(score, 12, Now(27));
}

void Tunnel_Turns(Score& score) {
    // The cross-section morphs on the kicks, rows 0 and 10 of every bar.
    for (int order = 14; order <= 17; ++order) {
        Kick_Two_Step(score, order, 64);
        Backbeat(score, order, 60);
        Hats(score, order, 50, true, true);
        Bassline(score, order, 62);
        Pads(score, order, 36);
        Lead_Phrase(score, order, order >= 16 ? 52 : 44);
        Tunnel_Accents(score, order, 60);
        if (order >= 16)
            for (int row = 0; row < Rows; row += 16) Stab_At(score, order, row + 14, 40);
    }
    Crash_At(score, 14, 0);
    Snare_Roll(score, 17, 56, 64, 1, 30, 50);
}

void Tunnel_Closing(Score& score) {
    // Thinner and darker with every order, down to the low pads.
    for (int order = 18; order <= 21; ++order) {
        const int step = order - 18;
        if (order <= 20) Kick_Two_Step(score, order, 64 - 6 * step);
        if (order <= 19) Backbeat(score, order, 52 - 8 * step);
        if (order == 18) Hats(score, order, 40, true, false);
        if (order == 19) Hats(score, order, 30, false, false);
        if (order <= 19) Bassline(score, order, 56);
        else Bass_Roots(score, order, 50, 8);
        Pads(score, order, 40, order >= 20 ? -12 : 0);
        Tunnel_Accents(score, order, 52 - 6 * step);
    }
    Riser_To(score, 22, 0);
}

void Warp(Score& score) {
    Dice dice;
    for (int order = 22; order <= 29; ++order) {
        const bool glitch = order == 24 || order == 25;
        const bool intense = order >= 26;
        Kick_Four(score, order, 64);
        Backbeat(score, order, intense ? 60 : 52);
        Hats(score, order, intense ? 52 : 44, order != 22, intense || glitch);
        Bassline(score, order, 60);
        Pads(score, order, intense ? 32 : 28);
        if (intense) Lead_Phrase(score, order, 48);
        // The flash and, from order 26, the texture switch: rows with row mod 8 = 3.
        for (int row = 3; row < Rows; row += 8) {
            Stab_At(score, order, row, 60);
            score.hit(order, row, Rim, Rim_Shot, 50);
        }
        if (glitch) {
            // A new overlay on every row: stutters and cuts at fixed random places.
            for (int row = 0; row < Rows; ++row) {
                if (row % 8 >= 1 && row % 8 <= 3) continue;  // keep the hits clean
                switch (dice.roll(6)) {
                case 0: Stab_At(score, order, row, 48); score.effect(order, row, Stab, 0xE, 0x92); break;
                case 1: score.hit(order, row, Rim, Rim_Shot, 48); score.effect(order, row, Rim, 0xE, 0x91); break;
                case 2: score.effect(order, row, Bass, 0xE, 0xC2); break;
                case 3: score.hit(order, row, Closed_Hat, Closed_Hat_Cymbal, 56); score.effect(order, row, Closed_Hat, 0xE, 0x91); break;
                case 4: Stab_At(score, order, row, 44); score.effect(order, row, Stab, 0x2, 0x60); break;  // dives
                default: break;
                }
            }
        }
    }
    // Zoom-outs: a boom, a crash.
    for (const auto& zoom : {std::pair{22, 36}, {22, 45}, {22, 54}, {23, 36}, {23, 44}}) {
        score.note(zoom.first, zoom.second, Tom, Tom_Drum, 40, 64);
        Crash_At(score, zoom.first, zoom.second);
    }
    Crash_At(score, 22, 0);
    for (int row = 60; row < 64; ++row) {
        score.hit(23, row, Snare, Snare_Drum, 40 + 6 * (row - 60));
        score.effect(23, row, Snare, 0xE, 0x93);
        score.note(23, row, Tom, Tom_Drum, 45 + 3 * (row - 60), 48);
    }
    Crash_At(score, 24, 0);
    Crash_At(score, 26, 0);
}

void Drum_Break(Score& score) {
    // The drum pictures: per 32 rows the bass drum, the snare, the vs1 (a rim)
    // and vs2 (a tom) sounds.
    for (int order = 30; order <= 31; ++order) {
        for (int half = 0; half < Rows; half += 32) {
            for (int row : {0, 10, 16, 23}) score.hit(order, half + row, Kick, Kick_Drum, 64);
            for (int row : {order == 30 ? 3 : 6, 13, 20, 26}) score.hit(order, half + row, Snare, Snare_Drum, 60);
            for (int row : {7, 15, 19, 29}) score.hit(order, half + row, Rim, Rim_Shot, 56);
            for (int row : {9, 31}) score.note(order, half + row, Tom, Tom_Drum, 52, 52);
        }
        // The figure flashes on the rows the music plays at even numbers.
        for (int row = 1; row < Rows; row += 2) score.hit(order, row, Closed_Hat, Closed_Hat_Cymbal, 34);
        Bass_Roots(score, order, 56, 16);
        Pads(score, order, 32);
    }
    Crash_At(score, 30, 0);

    // Order 32: fast fills on the rows of the four pictures.
    const struct {
        std::vector<int> rows;
        Channel channel;
        Instrument instrument;
        int note;
    } fills[] = {
        {{0, 17, 24, 29}, Kick, Kick_Drum, 60},
        {{4, 13, 18, 22, 27, 30}, Snare, Snare_Drum, 60},
        {{10, 14, 16, 19, 21, 25, 31}, Tom, Tom_Drum, 57},
        {{12, 15, 20, 23, 26, 28}, Rim, Tom_Drum, 45},
    };
    for (const auto& fill : fills)
        for (int row : fill.rows) score.note(32, row, fill.channel, fill.instrument, fill.note, 60);
    Kick_Four(score, 32, 60, 32);
    Snare_Roll(score, 32, 32, 48, 2, 30, 46);
    Snare_Roll(score, 32, 48, 64, 1, 46, 64);
    Hats(score, 32, 40, false, true);
    Pads(score, 32, 36);
    Riser_To(score, 33, 0);
}

void Outro(Score& score) {
    // The groove plays on while it fades; the pads stay a little longer.
    for (int order = 33; order <= 35; ++order) {
        if (order <= 34) {
            Kick_Two_Step(score, order, 64);
            Backbeat(score, order, 56);
            Hats(score, order, 46, true, true);
            Bassline(score, order, 58);
        }
        Pads(score, order, 44);
    }
    Crash_At(score, 33, 0);
    score.cut_all(Ending, 0);
}

// Fades: orders 28 and 29 sink; from order 33 the groove fades out over
// 9.3 s (106 rows) and the pads by the end of order 35.
double Gain(int channel, int order, int row) {
    const double position = order * Rows + row;
    const auto ramp = [position](double from, double to, double start, double end) {
        return from + (to - from) * std::clamp((position - start) / (end - start), 0.0, 1.0);
    };
    if (order >= 28 && order <= 29) return ramp(1.0, 0.4, 28 * Rows, 30 * Rows);
    if (order >= 33) {
        const bool pad = channel == Pad_1 || channel == Pad_2 || channel == Pad_3;
        return pad ? ramp(1.0, 0.0, 33 * Rows, 36 * Rows - 4) : ramp(1.0, 0.0, 33 * Rows, 33 * Rows + 106);
    }
    return 1.0;
}

// ---- Instruments.

Xm_Sample Sample_Of(const std::vector<float>& sound, int midi_note, bool loops) {
    float peak = 0;
    for (float value : sound) peak = std::max(peak, std::fabs(value));
    Xm_Sample sample;
    sample.data.resize(sound.size());
    for (size_t i = 0; i < sound.size(); ++i) sample.data[i] = int16_t(std::lround(sound[i] / peak * 32000));
    sample.relative_note = int8_t(88 - midi_note);  // plays at its own pitch for MIDI midi_note
    if (loops) {
        sample.loop = Xm_Loop::forward;
        sample.loop_length = uint32_t(sound.size());
    }
    return sample;
}

Xm_Instrument Instrument_Of(const char* name, Xm_Sample sample) {
    Xm_Instrument instrument;
    instrument.name = name;
    sample.name = name;
    instrument.samples.push_back(std::move(sample));
    return instrument;
}

std::vector<Xm_Instrument> Instruments() {
    std::vector<Xm_Instrument> instruments;
    instruments.push_back(Instrument_Of("kick", Sample_Of(Synth_Kick(), 60, false)));
    instruments.push_back(Instrument_Of("snare", Sample_Of(Synth_Snare(), 60, false)));
    instruments.push_back(Instrument_Of("clap", Sample_Of(Synth_Clap(), 60, false)));
    Xm_Sample closed_hat = Sample_Of(Synth_Closed_Hat(), 60, false);
    closed_hat.panning = 150;
    instruments.push_back(Instrument_Of("closed hat", closed_hat));
    Xm_Sample open_hat = Sample_Of(Synth_Open_Hat(), 60, false);
    open_hat.panning = 100;
    instruments.push_back(Instrument_Of("open hat", open_hat));
    instruments.push_back(Instrument_Of("crash", Sample_Of(Synth_Crash(), 60, false)));
    instruments.push_back(Instrument_Of("bass", Sample_Of(Synth_Bass(33), 33, false)));
    Xm_Sample minor = Sample_Of(Synth_Stab(57, {0, 3, 7, 10}), 57, false);
    minor.panning = 112;
    instruments.push_back(Instrument_Of("minor stab", minor));
    Xm_Sample major = Sample_Of(Synth_Stab(53, {0, 4, 7, 11}), 53, false);
    major.panning = 112;
    instruments.push_back(Instrument_Of("major stab", major));
    Xm_Instrument pad = Instrument_Of("pad", Sample_Of(Synth_Pad(57), 57, true));
    pad.volume_envelope.points = {{0, 0}, {50, 64}, {60, 60}};
    pad.volume_envelope.sustain = 2;
    pad.fadeout = 500;
    instruments.push_back(pad);
    Xm_Instrument lead = Instrument_Of("lead", Sample_Of(Synth_Lead(69), 69, true));
    lead.samples[0].panning = 144;
    lead.volume_envelope.points = {{0, 64}, {20, 44}};
    lead.volume_envelope.sustain = 1;
    lead.fadeout = 2500;
    instruments.push_back(lead);
    instruments.push_back(Instrument_Of("riser", Sample_Of(Synth_Riser(), 60, false)));
    instruments.push_back(Instrument_Of("tom", Sample_Of(Synth_Tom(), Synth_Tom_Note, false)));
    instruments.push_back(Instrument_Of("rim", Sample_Of(Synth_Rim(), 60, false)));
    return instruments;
}

}  // namespace

std::vector<uint8_t> Compose_Tekno_Module() {
    Score score;
    Intro(score);
    Main_Groove(score);
    Spin_Up(score);
    Tunnel(score);
    Tunnel_Turns(score);
    Tunnel_Closing(score);
    Warp(score);
    Drum_Break(score);
    Outro(score);

    Xm_Module module;
    module.name = "tekno";
    module.channels = Channel_Count;
    module.speed = 6;
    module.bpm = 171;
    module.patterns = score.patterns(Gain);
    for (int order = 0; order < Orders; ++order) module.orders.push_back(uint8_t(order));
    module.instruments = Instruments();
    return Write_Xm(module);
}
