#include "Synth.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

constexpr double Two_Pi = 6.283185307179586;

size_t Frames(double seconds) { return size_t(seconds * Synth_Rate); }

// xorshift32: white noise from a fixed seed, between -1 and 1.
class Noise {
public:
    explicit Noise(uint32_t seed) : m_state(seed) {}
    float next() {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 17;
        m_state ^= m_state << 5;
        return float(m_state) / 2147483648.0f - 1.0f;
    }

private:
    uint32_t m_state;
};

// State-variable filter: low, band and high pass from one state.
class Filter {
public:
    void tune(double cutoff, double resonance) {
        m_f = float(2 * std::sin(3.141592653589793 * std::fmin(cutoff, Synth_Rate / 6) / Synth_Rate));
        m_q = float(1 / resonance);
    }
    void run(float input) {
        m_low += m_f * m_band;
        m_high = input - m_low - m_q * m_band;
        m_band += m_f * m_high;
    }
    float low() const { return m_low; }
    float band() const { return m_band; }
    float high() const { return m_high; }

private:
    float m_f = 0, m_q = 1, m_low = 0, m_band = 0, m_high = 0;
};

float Saw(double phase) { return float(2 * (phase - std::floor(phase)) - 1); }

// A short fade at the end keeps a cut-off tail from clicking.
std::vector<float> Finish(std::vector<float> sound) {
    const size_t fade = std::min<size_t>(sound.size(), 64);
    for (size_t i = 0; i < fade; ++i) sound[sound.size() - 1 - i] *= float(i) / float(fade);
    return sound;
}

std::vector<float> Metallic_Noise(double seconds, double decay, double cutoff, uint32_t seed) {
    // Six detuned squares and noise, high-passed: the ring of a cymbal.
    static const double partials[6] = {205.3, 304.4, 369.6, 522.7, 540.0, 800.0};
    Noise noise(seed);
    Filter filter;
    filter.tune(cutoff, 0.7);
    std::vector<float> sound(Frames(seconds));
    for (size_t i = 0; i < sound.size(); ++i) {
        const double t = double(i) / Synth_Rate;
        float ring = 0;
        for (double partial : partials) ring += std::sin(Two_Pi * partial * 1.7 * t) > 0 ? 1.0f : -1.0f;
        filter.run(ring * 0.12f + noise.next() * 0.6f);
        sound[i] = filter.high() * float(std::exp(-t / decay));
    }
    return sound;
}

}  // namespace

double Synth_Frequency(int midi_note) { return 440.0 * std::pow(2.0, (midi_note - 69) / 12.0); }

std::vector<float> Synth_Kick() {
    std::vector<float> sound(Frames(0.42));
    double phase = 0;
    for (size_t i = 0; i < sound.size(); ++i) {
        const double t = double(i) / Synth_Rate;
        phase += (46 + 160 * std::exp(-t / 0.028)) / Synth_Rate;
        const double body = std::sin(Two_Pi * phase) * std::exp(-t / 0.2);
        const double click = std::exp(-t / 0.002) * 0.5;
        sound[i] = float(std::tanh(2.4 * (body + click)));
    }
    return Finish(sound);
}

std::vector<float> Synth_Snare() {
    Noise noise(0x5A4E);
    Filter filter;
    filter.tune(4200, 0.8);
    std::vector<float> sound(Frames(0.28));
    for (size_t i = 0; i < sound.size(); ++i) {
        const double t = double(i) / Synth_Rate;
        filter.run(noise.next());
        const double tone = std::sin(Two_Pi * (185 * t + 40 * 0.01 * (1 - std::exp(-t / 0.01)))) * std::exp(-t / 0.05);
        sound[i] = float(0.55 * tone + 0.7 * (filter.band() + 0.5 * filter.high()) * std::exp(-t / 0.07));
    }
    return Finish(sound);
}

std::vector<float> Synth_Clap() {
    Noise noise(0xC1A9);
    Filter filter;
    filter.tune(1300, 2.0);
    std::vector<float> sound(Frames(0.32));
    for (size_t i = 0; i < sound.size(); ++i) {
        const double t = double(i) / Synth_Rate;
        // Three hands a few milliseconds apart, then the room.
        double envelope = std::exp(-t / 0.1) * 0.8;
        for (double start : {0.0, 0.011, 0.022})
            if (t >= start) envelope += std::exp(-(t - start) / 0.004);
        filter.run(noise.next());
        sound[i] = float(filter.band() * envelope * 1.3);
    }
    return Finish(sound);
}

std::vector<float> Synth_Closed_Hat() { return Finish(Metallic_Noise(0.08, 0.024, 7000, 0x4A7)); }
std::vector<float> Synth_Open_Hat() { return Finish(Metallic_Noise(0.36, 0.12, 6500, 0x0FE7)); }
std::vector<float> Synth_Crash() { return Finish(Metallic_Noise(1.6, 0.55, 4500, 0xC7A5)); }

std::vector<float> Synth_Tom() {
    std::vector<float> sound(Frames(0.36));
    double phase = 0;
    const double frequency = Synth_Frequency(Synth_Tom_Note);
    for (size_t i = 0; i < sound.size(); ++i) {
        const double t = double(i) / Synth_Rate;
        phase += frequency * (1 + 0.5 * std::exp(-t / 0.03)) / Synth_Rate;
        sound[i] = float(std::tanh(1.3 * std::sin(Two_Pi * phase)) * std::exp(-t / 0.11));
    }
    return Finish(sound);
}

std::vector<float> Synth_Rim() {
    Noise noise(0x817);
    std::vector<float> sound(Frames(0.08));
    for (size_t i = 0; i < sound.size(); ++i) {
        const double t = double(i) / Synth_Rate;
        const double tone = std::sin(Two_Pi * 1750 * t) + 0.6 * std::sin(Two_Pi * 820 * t);
        sound[i] = float((0.6 * tone + 0.3 * noise.next()) * std::exp(-t / 0.012));
    }
    return Finish(sound);
}

std::vector<float> Synth_Riser() {
    Noise noise(0x7153);
    Filter filter;
    const double length = 32 * 2.5 / 171 * 6;  // 32 rows of 6 ticks
    std::vector<float> sound(Frames(length));
    for (size_t i = 0; i < sound.size(); ++i) {
        const double x = double(i) / double(sound.size());
        filter.tune(300 * std::pow(30.0, x), 3.0);
        filter.run(noise.next());
        sound[i] = float(filter.band() * (0.15 + 0.85 * x * x) * 0.9);
    }
    return Finish(sound);
}

std::vector<float> Synth_Bass(int midi_note) {
    const double frequency = Synth_Frequency(midi_note);
    Filter filter;
    std::vector<float> sound(Frames(0.5));
    for (size_t i = 0; i < sound.size(); ++i) {
        const double t = double(i) / Synth_Rate;
        filter.tune(180 + 1400 * std::exp(-t / 0.06), 2.2);
        filter.run(Saw(frequency * t) * 0.5f + Saw(frequency * 1.004 * t) * 0.5f);
        const double sub = std::sin(Two_Pi * frequency * t);
        const double envelope = std::min(1.0, t / 0.002) * std::exp(-t / 0.4);
        sound[i] = float(std::tanh(2.2 * (filter.low() * 0.8 + sub * 0.6)) * envelope);
    }
    return Finish(sound);
}

std::vector<float> Synth_Stab(int midi_note, const std::vector<int>& chord) {
    Filter filter;
    std::vector<float> sound(Frames(0.55));
    for (size_t i = 0; i < sound.size(); ++i) {
        const double t = double(i) / Synth_Rate;
        float mix = 0;
        for (int interval : chord) {
            const double frequency = Synth_Frequency(midi_note + interval);
            mix += Saw(frequency * 0.997 * t) + Saw(frequency * 1.003 * t);
        }
        filter.tune(700 + 5000 * std::exp(-t / 0.08), 1.6);
        filter.run(mix / float(2 * chord.size()));
        const double envelope = std::min(1.0, t / 0.003) * std::exp(-t / 0.14);
        sound[i] = float(filter.low() * envelope * 1.6);
    }
    return Finish(sound);
}

namespace {

// One second of a sound made of whole-hertz partials. The filter runs a
// second first, so the second kept starts where it ends and loops seamlessly.
template <class Source>
std::vector<float> Seamless_Second(double cutoff, double resonance, Source source) {
    const size_t length = size_t(std::lround(Synth_Rate));
    Filter filter;
    filter.tune(cutoff, resonance);
    std::vector<float> sound(length);
    for (size_t i = 0; i < 2 * length; ++i) {
        filter.run(source(double(i % length) / double(length)));
        if (i >= length) sound[i - length] = filter.low();
    }
    return sound;
}

// Even, so that the sub-octave is a whole number of hertz too.
double Whole_Hertz(int midi_note) { return 2 * std::round(Synth_Frequency(midi_note) / 2); }

}  // namespace

std::vector<float> Synth_Pad(int midi_note) {
    const double f = Whole_Hertz(midi_note);
    return Seamless_Second(2000, 0.9, [f](double x) {
        return 0.3f * (Saw((f - 1) * x) + Saw((f + 1) * x) + Saw(f * 2 * x) * 0.4f) +
               0.3f * float(std::sin(Two_Pi * (f / 2) * x));
    });
}

std::vector<float> Synth_Lead(int midi_note) {
    const double f = Whole_Hertz(midi_note);
    return Seamless_Second(2600, 1.4, [f](double x) {
        const auto square = [](double phase) { return phase - std::floor(phase) < 0.5 ? 1.0f : -1.0f; };
        return 0.35f * (square(f * x) + Saw((f + 2) * x) * 0.8f + square(2 * f * x) * 0.25f);
    });
}
