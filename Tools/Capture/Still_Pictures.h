#pragma once

// PNG pictures of single frames, at the display's own 640x480: the frame
// shown at a time, or the first frame drawn while a row of the music plays.

#include "Frame_Sink.h"

#include <string>
#include <vector>

struct Still_Request {
    bool at_row; // false: at seconds
    double seconds;
    int order;
    int row;
    std::string path;
};

class Still_Pictures : public Frame_Sink {
public:
    explicit Still_Pictures(std::vector<Still_Request> requests);
    void frame(const Shown_Frame& frame) override;
    // Throws when a moment asked for never came.
    void finish() override;

private:
    std::vector<Still_Request> m_pending;
    double m_end_seconds = 0;
    int m_end_order = -1;
    int m_end_row = -1;
};
