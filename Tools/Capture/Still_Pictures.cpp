#include "Still_Pictures.h"

#include "Output_Check.h"
#include "Png_File.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <stdexcept>

namespace {

bool Is_Due(const Still_Request& request, const Shown_Frame& frame) {
    if (request.at_row)
        return frame.order > request.order || (frame.order == request.order && frame.row >= request.row);
    // The frame shown at t is the last one presented at or before t; the
    // small allowance keeps 0.1 s at 60 fps on frame 6 despite rounding.
    return double(frame.index) >= std::floor(request.seconds * frame.frames_per_second + 1e-6);
}

std::string Describe(const Still_Request& request) {
    char text[64];
    if (request.at_row)
        std::snprintf(text, sizeof text, "order %d row %d", request.order, request.row);
    else
        std::snprintf(text, sizeof text, "%.3f s", request.seconds);
    return text;
}

}

Still_Pictures::Still_Pictures(std::vector<Still_Request> requests) : m_pending(std::move(requests)) {
    for (const Still_Request& request : m_pending)
        Check_Writable_File(request.path);
}

void Still_Pictures::frame(const Shown_Frame& frame) {
    for (auto request = m_pending.begin(); request != m_pending.end();) {
        if (Is_Due(*request, frame)) {
            Write_Png(request->path, frame.pixels, frame.width, frame.height, frame.pitch);
            request = m_pending.erase(request);
        } else {
            ++request;
        }
    }
    m_end_seconds = frame.seconds();
    m_end_order = frame.order;
    m_end_row = frame.row;
}

void Still_Pictures::finish() {
    if (m_pending.empty())
        return;
    char end[96];
    std::snprintf(end, sizeof end, "the capture ended at %.3f s, order %d row %d", m_end_seconds, m_end_order,
                  m_end_row);
    throw std::runtime_error("no still at " + Describe(m_pending.front()) + ": " + end);
}
