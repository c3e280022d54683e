#pragma once

namespace QEV_Rasterizer {

// Exported for the library's other users; nothing in the demo derives from it.
class Rasterizer {
public:
    Rasterizer() {}
    Rasterizer(const Rasterizer&) {}
    Rasterizer& operator=(const Rasterizer&) { return *this; }
    virtual ~Rasterizer();

    virtual void begin_frame() = 0;
    virtual void draw() = 0;
    virtual void end_frame() = 0;
};

}
