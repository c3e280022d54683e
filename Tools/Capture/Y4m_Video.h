#pragma once

// Uncompressed video in the YUV4MPEG2 format: full-resolution chroma
// (4:4:4), BT.709 studio range, each pixel enlarged to scale x scale.

#include "Frame_Sink.h"

#include <cstdio>
#include <string>
#include <vector>

class Y4m_Video : public Frame_Sink {
public:
    // Writes to a stream the caller owns and closes; name is for messages.
    Y4m_Video(std::FILE* stream, std::string name, int scale);
    void frame(const Shown_Frame& frame) override;
    void finish() override;

private:
    void write(const void* data, size_t size);

    std::FILE* m_stream;
    std::string m_name;
    int m_scale;
    bool m_header_written = false;
    std::vector<uint8_t> m_planes;
};
