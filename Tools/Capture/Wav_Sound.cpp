#include "Wav_Sound.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace {

void Put_16(uint8_t* at, uint32_t value) {
    at[0] = uint8_t(value);
    at[1] = uint8_t(value >> 8);
}

void Put_32(uint8_t* at, uint32_t value) {
    Put_16(at, value);
    Put_16(at + 2, value >> 16);
}

constexpr int Channels = 2;
constexpr int Bytes_Per_Frame = Channels * 2;
constexpr size_t Header_Size = 44;

}

Wav_Sound::Wav_Sound(std::string path) : m_path(std::move(path)), m_file(std::fopen(m_path.c_str(), "wb")) {
    if (m_file == nullptr)
        fail();
    write_header();
}

Wav_Sound::~Wav_Sound() {
    if (m_file != nullptr)
        std::fclose(m_file);
}

void Wav_Sound::fail() { throw std::runtime_error("cannot write " + m_path + ": " + std::strerror(errno)); }

void Wav_Sound::write_header() {
    const uint64_t data_bytes = m_sample_frames * Bytes_Per_Frame;
    if (data_bytes > 0xFFFFFFFFu - Header_Size)
        throw std::runtime_error(m_path + ": too much sound for a WAV file");
    uint8_t header[Header_Size];
    std::memcpy(header, "RIFF", 4);
    Put_32(header + 4, uint32_t(Header_Size - 8 + data_bytes));
    std::memcpy(header + 8, "WAVEfmt ", 8);
    Put_32(header + 16, 16);
    Put_16(header + 20, 1); // integer PCM
    Put_16(header + 22, Channels);
    Put_32(header + 24, Sample_Rate);
    Put_32(header + 28, Sample_Rate * Bytes_Per_Frame);
    Put_16(header + 32, Bytes_Per_Frame);
    Put_16(header + 34, 16);
    std::memcpy(header + 36, "data", 4);
    Put_32(header + 40, uint32_t(data_bytes));
    if (std::fseek(m_file, 0, SEEK_SET) != 0 || std::fwrite(header, 1, Header_Size, m_file) != Header_Size)
        fail();
}

void Wav_Sound::frame(const Shown_Frame& frame) {
    m_bytes.resize(frame.sample_frames * Bytes_Per_Frame);
    for (size_t i = 0; i < frame.sample_frames * Channels; ++i)
        Put_16(m_bytes.data() + 2 * i, uint16_t(frame.samples[i]));
    if (std::fwrite(m_bytes.data(), 1, m_bytes.size(), m_file) != m_bytes.size())
        fail();
    m_sample_frames += frame.sample_frames;
}

void Wav_Sound::finish() {
    write_header();
    std::FILE* file = m_file;
    m_file = nullptr;
    if (std::fclose(file) != 0)
        fail();
}
