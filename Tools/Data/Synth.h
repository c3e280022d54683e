#pragma once

// The instruments of the show's module, rendered as mono samples between -1
// and 1. Every sound is the same on every run: noise comes from fixed seeds.

#include <vector>

// The rate every sound is rendered at: 28 semitones above the 8363 Hz of the
// module's middle note, so that a whole relative note plays it at its own
// speed.
constexpr double Synth_Rate = 42146.878961;

// Frequency of a MIDI note (69 = A4 = 440 Hz).
double Synth_Frequency(int midi_note);

std::vector<float> Synth_Kick();
std::vector<float> Synth_Snare();
std::vector<float> Synth_Clap();
std::vector<float> Synth_Closed_Hat();
std::vector<float> Synth_Open_Hat();
std::vector<float> Synth_Crash();
std::vector<float> Synth_Tom();  // pitched at Synth_Tom_Note
std::vector<float> Synth_Rim();
std::vector<float> Synth_Riser();  // rises over two bars at 171 BPM

constexpr int Synth_Tom_Note = 45;

// A plucked, filtered saw note, pitched at midi_note.
std::vector<float> Synth_Bass(int midi_note);
// A short chord of detuned saws: the notes are semitones above midi_note.
std::vector<float> Synth_Stab(int midi_note, const std::vector<int>& chord);
// One second that loops seamlessly: every partial is a whole number of hertz.
std::vector<float> Synth_Pad(int midi_note);
std::vector<float> Synth_Lead(int midi_note);
