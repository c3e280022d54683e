#include "Xm_Writer.h"

#include <libopenmpt/libopenmpt.h>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

struct Module_Deleter {
    void operator()(openmpt_module* module) const { openmpt_module_destroy(module); }
};
using Loaded_Module = std::unique_ptr<openmpt_module, Module_Deleter>;

Loaded_Module Load(const std::vector<uint8_t>& bytes) {
    int error = 0;
    openmpt_module* module = openmpt_module_create_from_memory2(bytes.data(), bytes.size(), nullptr, nullptr,
                                                                nullptr, nullptr, &error, nullptr, nullptr);
    return Loaded_Module(module);
}

std::string Take(const char* text) {
    std::string result = text ? text : "";
    openmpt_free_string(text);
    return result;
}

// Two channels; pattern 0 has 32 rows and breaks after row 15, pattern 1 has
// 80 rows. One instrument holds a looping constant sample and an envelope.
Xm_Module Small_Module() {
    Xm_Module module;
    module.name = "small";
    module.channels = 2;
    module.speed = 6;
    module.bpm = 125;  // 120 ms a row
    module.orders = {0, 1, 0};
    module.patterns.emplace_back(32, 2);
    module.patterns.emplace_back(80, 2);
    Xm_Cell& note = module.patterns[0].at(0, 0);
    note.note = Xm_Note(4, 0);
    note.instrument = 1;
    note.volume = Xm_Volume(48);
    module.patterns[0].at(15, 1).effect = 0xD;
    module.patterns[1].at(79, 0) = {Xm_Note(5, 9), 1, 0, 0xA, 0x0F};  // a full cell is stored unpacked

    Xm_Instrument instrument;
    instrument.name = "steady";
    Xm_Sample sample;
    sample.name = "dc";
    sample.data.assign(1000, 12000);
    sample.loop = Xm_Loop::forward;
    sample.loop_start = 100;
    sample.loop_length = 900;
    instrument.samples.push_back(sample);
    instrument.volume_envelope.points = {{0, 64}, {10, 64}, {400, 0}};
    instrument.volume_envelope.sustain = 1;
    instrument.fadeout = 256;
    module.instruments.push_back(instrument);
    return module;
}

}  // namespace

TEST(Xm_Writer, LibopenmptReadsBackPatternsRowsCellsAndInstruments) {
    Loaded_Module module = Load(Write_Xm(Small_Module()));
    ASSERT_TRUE(module);
    openmpt_module* m = module.get();
    EXPECT_EQ(openmpt_module_get_num_orders(m), 3);
    EXPECT_EQ(openmpt_module_get_num_patterns(m), 2);
    EXPECT_EQ(openmpt_module_get_pattern_num_rows(m, 0), 32);
    EXPECT_EQ(openmpt_module_get_pattern_num_rows(m, 1), 80);
    EXPECT_EQ(openmpt_module_get_num_channels(m), 2);
    EXPECT_EQ(openmpt_module_get_num_instruments(m), 1);
    EXPECT_EQ(openmpt_module_get_num_samples(m), 1);
    EXPECT_EQ(Take(openmpt_module_get_instrument_name(m, 0)), "steady");
    EXPECT_EQ(Take(openmpt_module_get_sample_name(m, 0)), "dc");
    // libopenmpt names XM notes one octave above FastTracker's names.
    EXPECT_EQ(Take(openmpt_module_format_pattern_row_channel_command(m, 0, 0, 0, OPENMPT_MODULE_COMMAND_NOTE)),
              "C-5");
    EXPECT_EQ(openmpt_module_get_pattern_row_channel_command(m, 0, 0, 0, OPENMPT_MODULE_COMMAND_INSTRUMENT), 1);
    EXPECT_EQ(openmpt_module_get_pattern_row_channel_command(m, 0, 0, 0, OPENMPT_MODULE_COMMAND_VOLUME), 48);
    EXPECT_EQ(Take(openmpt_module_format_pattern_row_channel_command(m, 1, 79, 0, OPENMPT_MODULE_COMMAND_NOTE)),
              "A-6");
    EXPECT_EQ(Take(openmpt_module_format_pattern_row_channel(m, 1, 79, 1, 0, 0)).find("A0F"), std::string::npos)
        << "the full cell belongs to channel 0 only";
    EXPECT_EQ(openmpt_module_get_pattern_row_channel_command(m, 1, 79, 0, OPENMPT_MODULE_COMMAND_PARAMETER), 0x0F);
    EXPECT_EQ(openmpt_module_get_pattern_row_channel_command(m, 1, 40, 0, OPENMPT_MODULE_COMMAND_NOTE), 0);
    // 16 rows of order 0 (the break), 80 of order 1, 16 of order 2.
    EXPECT_NEAR(openmpt_module_get_duration_seconds(m), (16 + 80 + 16) * 0.120, 1e-6);
}

TEST(Xm_Writer, SampleDataSurvivesDeltaCoding) {
    Loaded_Module module = Load(Write_Xm(Small_Module()));
    ASSERT_TRUE(module);
    const int rate = 48000;
    std::vector<float> left(rate / 2), right(rate / 2);
    ASSERT_EQ(openmpt_module_read_float_stereo(module.get(), rate, left.size(), left.data(), right.data()),
              left.size());
    // After the attack the held note of a constant sample is a constant
    // level; bytes decoded wrongly would wander or wrap.
    const float level = left[size_t(rate / 10)];
    EXPECT_GT(std::fabs(level), 0.05f);
    for (size_t i = size_t(rate / 20); i < left.size(); i += 97) ASSERT_NEAR(left[i], level, 1e-3f) << i;
}

TEST(Xm_Writer, PlaysASampleAtItsRelativeNoteAndFinetune) {
    Xm_Module description = Small_Module();
    Xm_Sample& sample = description.instruments[0].samples[0];
    sample.data.resize(32);
    for (size_t i = 0; i < 32; ++i) sample.data[i] = int16_t(std::lround(20000 * std::sin(2 * M_PI * double(i) / 32)));
    sample.loop_start = 0;
    sample.loop_length = 32;
    sample.relative_note = 12;
    sample.finetune = 64;
    Loaded_Module module = Load(Write_Xm(description));
    ASSERT_TRUE(module);
    const int rate = 48000;
    std::vector<float> left(rate), right(rate);
    openmpt_module_read_float_stereo(module.get(), rate, left.size(), left.data(), right.data());
    int rises = 0;
    for (size_t i = size_t(rate / 10); i < left.size(); ++i) rises += left[i - 1] < 0 && left[i] >= 0;
    // C-4 plays at 8363 Hz, an octave and a half semitone up here, 32 frames a cycle.
    const double expected = 8363 * std::pow(2.0, 12.5 / 12) / 32 * 0.9;
    EXPECT_NEAR(rises, expected, expected * 0.01);
}

TEST(Xm_Writer, RefusesWhatTheFormatCannotHold) {
    const struct {
        const char* what;
        void (*spoil)(Xm_Module&);
    } cases[] = {
        {"order names a missing pattern", [](Xm_Module& m) { m.orders.push_back(2); }},
        {"no orders", [](Xm_Module& m) { m.orders.clear(); }},
        {"pattern of 257 rows", [](Xm_Module& m) { m.patterns[1] = Xm_Pattern(257, 2); }},
        {"pattern of another width", [](Xm_Module& m) { m.patterns[1] = Xm_Pattern(64, 3); }},
        {"missing instrument", [](Xm_Module& m) { m.patterns[0].at(1, 1).instrument = 2; }},
        {"loop past the end", [](Xm_Module& m) { m.instruments[0].samples[0].loop_length = 901; }},
        {"13 envelope points",
         [](Xm_Module& m) {
             auto& points = m.instruments[0].volume_envelope.points;
             for (uint16_t t = 500; points.size() < 13; t += 10) points.push_back({t, 0});
         }},
        {"sustain past the points", [](Xm_Module& m) { m.instruments[0].volume_envelope.sustain = 3; }},
    };
    for (const auto& c : cases) {
        Xm_Module module = Small_Module();
        c.spoil(module);
        EXPECT_THROW(Write_Xm(module), std::invalid_argument) << c.what;
    }
}
