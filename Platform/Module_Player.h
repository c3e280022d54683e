#pragma once

// One tracker module rendered by libopenmpt at 44100 Hz stereo, played once
// from order 0, row 0. Both backends render through it. Rendering goes in
// blocks of at most a millisecond, and a ring remembers the order and row
// each block belongs to, so a device that knows which of its rendered samples
// is leaving the speaker can ask which row the listener hears. Not
// thread-safe: a device that renders on another thread locks around it.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace openmpt {
class module;
}

namespace Platform {

struct Module_Row {
    int order = 0;
    int row = 0;
};

class Module_Player {
public:
    static constexpr int Sample_Rate = 44100;
    static constexpr size_t Block_Frames = 44;

    // The player, or null with the reason in *reason.
    static std::unique_ptr<Module_Player> load(const char* file_name, std::string* reason);
    explicit Module_Player(std::unique_ptr<openmpt::module> module);
    ~Module_Player();

    // Fills `frames` interleaved 16-bit stereo frames; silence once the
    // module has ended.
    void render(int16_t* stereo, size_t frames);
    // Moves playback to an order and row; false when the module has no such place.
    bool seek(int order, int row);

    // Frames rendered so far, silence included: the index of the next sample.
    uint64_t rendered() const { return m_rendered; }
    bool ended() const { return m_ended; }
    // The row of a sample already rendered. A sample older than the ring
    // remembers gets the oldest row it holds; one not yet rendered the newest.
    Module_Row row_at(uint64_t sample) const;

private:
    struct Entry {
        uint64_t sample;
        Module_Row row;
    };
    void record(uint64_t sample);

    std::unique_ptr<openmpt::module> m_module;
    uint64_t m_rendered = 0;
    bool m_ended = false;
    // Eight seconds of blocks: far more than any device buffers.
    std::vector<Entry> m_ring;
    uint64_t m_entries = 0;
};

}
