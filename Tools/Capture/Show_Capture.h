#pragma once

// The show played offline: the demo's own WinMain over the virtual backend,
// with every frame handed to the caller as a 60 Hz display would show it.

#include <cstddef>
#include <cstdint>
#include <functional>

struct Shown_Frame {
    uint64_t index; // 0 is the letterbox picture shown while the scenes load
    int frames_per_second;
    // The row heard while the frame was drawn; -1 for the letterbox picture,
    // which is drawn before the music starts.
    int order;
    int row;
    int width;
    int height;
    int pitch;
    const uint8_t* pixels;  // bytes blue, green, red, alpha
    const int16_t* samples; // the sound heard while the frame is shown: interleaved stereo
    size_t sample_frames;

    double seconds() const { return double(index) / frames_per_second; }
};

struct Capture_Settings {
    int frames_per_second = 60;
    uint64_t frame_limit = 0; // 0: until the show ends
};

// Plays the show in the current directory and returns WinMain's exit code;
// the demo's failures and the caller's pass as exceptions.
int Capture_Show(const Capture_Settings& settings, const std::function<void(const Shown_Frame&)>& on_frame);
