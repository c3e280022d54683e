#pragma once

// One PNG of evenly spaced frames of the show, each labelled with the time
// it is shown. The show's length is known only at its end, so frames are
// kept at a spacing that doubles whenever too many have been kept; keeping
// many more than are shown puts each cell within a few percent of its ideal
// time.

#include "Frame_Sink.h"

#include <string>
#include <vector>

class Contact_Sheet : public Frame_Sink {
public:
    static constexpr int Columns = 6;
    static constexpr int Rows = 6;
    static constexpr int Reduction = 4; // each thumbnail is 1/4 of the frame each way
    static constexpr int Kept_Limit = 16 * Columns * Rows;

    explicit Contact_Sheet(std::string path);
    void frame(const Shown_Frame& frame) override;
    void finish() override;

private:
    struct Thumbnail {
        double seconds;
        std::vector<uint8_t> pixels;
    };

    std::string m_path;
    uint64_t m_spacing = 1;
    int m_width = 0;
    int m_height = 0;
    std::vector<Thumbnail> m_kept;
};
