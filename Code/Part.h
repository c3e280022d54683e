#pragma once

#include <cstdint>

// Configuration of the two wire-figure scenes.
struct Scene_Params {
    int m_type;
    unsigned m_count;
    uint32_t m_colour;
};

// A scene: the frame loop calls update() then render() once per frame on the
// current one.
class Part {
public:
    virtual ~Part();
    virtual void update() = 0;
    virtual void render() = 0;
};
