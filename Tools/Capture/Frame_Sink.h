#pragma once

#include "Show_Capture.h"

// One destination of the captured show. finish() runs once the show has
// ended normally; a sink destroyed without it leaves no finished output.
class Frame_Sink {
public:
    virtual ~Frame_Sink() = default;
    virtual void frame(const Shown_Frame& frame) = 0;
    virtual void finish() = 0;
};
