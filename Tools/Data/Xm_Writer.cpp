#include "Xm_Writer.h"

#include <stdexcept>

namespace {

class Byte_Writer {
public:
    void u8(unsigned value) { m_bytes.push_back(uint8_t(value)); }
    void u16(unsigned value) {
        u8(value & 0xFF);
        u8(value >> 8);
    }
    void u32(uint32_t value) {
        u16(value & 0xFFFF);
        u16(value >> 16);
    }
    // Fixed-size text field, padded with zeros, cut when too long.
    void text(const std::string& text, size_t size) {
        for (size_t i = 0; i < size; ++i) u8(i < text.size() ? uint8_t(text[i]) : 0);
    }
    void zeros(size_t count) { m_bytes.insert(m_bytes.end(), count, 0); }
    void bytes(const std::vector<uint8_t>& bytes) { m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end()); }
    size_t size() const { return m_bytes.size(); }
    std::vector<uint8_t> m_bytes;
};

void Require(bool condition, const char* what) {
    if (!condition) throw std::invalid_argument(std::string("XM module: ") + what);
}

// Packed cells: a byte with bit 7 set says which of the five fields follow;
// an empty cell costs one byte. A full cell is cheaper written plainly.
std::vector<uint8_t> Pack(const Xm_Pattern& pattern) {
    std::vector<uint8_t> packed;
    for (const Xm_Cell& cell : pattern.m_cells) {
        const uint8_t fields[5] = {cell.note, cell.instrument, cell.volume, cell.effect, cell.parameter};
        uint8_t mask = 0;
        for (int i = 0; i < 5; ++i)
            if (fields[i]) mask |= uint8_t(1 << i);
        if (mask == 0x1F) {
            packed.insert(packed.end(), fields, fields + 5);
            continue;
        }
        packed.push_back(uint8_t(0x80 | mask));
        for (int i = 0; i < 5; ++i)
            if (fields[i]) packed.push_back(fields[i]);
    }
    return packed;
}

void Write_Envelope_Points(Byte_Writer& out, const Xm_Envelope& envelope) {
    for (size_t i = 0; i < 12; ++i) {
        out.u16(i < envelope.points.size() ? envelope.points[i].tick : 0);
        out.u16(i < envelope.points.size() ? envelope.points[i].value : 0);
    }
}

void Check(const Xm_Envelope& envelope) {
    const int count = int(envelope.points.size());
    Require(count <= 12, "an envelope has more than 12 points");
    for (int i = 0; i < count; ++i) {
        Require(envelope.points[size_t(i)].value <= 64, "an envelope value is above 64");
        Require(i == 0 || envelope.points[size_t(i)].tick > envelope.points[size_t(i) - 1].tick,
                "envelope ticks do not rise");
    }
    Require(envelope.sustain < count && envelope.loop_start < count && envelope.loop_end < count,
            "an envelope point index is out of range");
    Require((envelope.loop_start < 0) == (envelope.loop_end < 0) && envelope.loop_start <= envelope.loop_end,
            "an envelope loop is incomplete");
}

void Write_Instrument(Byte_Writer& out, const Xm_Instrument& instrument) {
    Require(instrument.samples.size() <= 16, "an instrument has more than 16 samples");
    Check(instrument.volume_envelope);
    const Xm_Envelope& envelope = instrument.volume_envelope;
    if (instrument.samples.empty()) {
        out.u32(29);
        out.text(instrument.name, 22);
        out.u8(0);
        out.u16(0);
        return;
    }
    for (uint8_t sample : instrument.note_samples)
        Require(sample < instrument.samples.size(), "a note names a missing sample");
    out.u32(263);
    out.text(instrument.name, 22);
    out.u8(0);
    out.u16(unsigned(instrument.samples.size()));
    out.u32(40);
    for (uint8_t sample : instrument.note_samples) out.u8(sample);
    Write_Envelope_Points(out, envelope);
    Write_Envelope_Points(out, Xm_Envelope{});
    out.u8(unsigned(envelope.points.size()));
    out.u8(0);
    out.u8(envelope.sustain < 0 ? 0 : unsigned(envelope.sustain));
    out.u8(envelope.loop_start < 0 ? 0 : unsigned(envelope.loop_start));
    out.u8(envelope.loop_end < 0 ? 0 : unsigned(envelope.loop_end));
    out.zeros(3);  // panning sustain and loop
    unsigned type = 0;
    if (!envelope.points.empty()) type |= 1;
    if (envelope.sustain >= 0) type |= 2;
    if (envelope.loop_start >= 0) type |= 4;
    out.u8(type);
    out.u8(0);     // panning envelope off
    out.zeros(4);  // auto-vibrato
    out.u16(instrument.fadeout);
    out.zeros(22);

    for (const Xm_Sample& sample : instrument.samples) {
        const uint32_t frames = uint32_t(sample.data.size());
        Require(sample.volume <= 64, "a sample volume is above 64");
        Require(sample.loop == Xm_Loop::none ||
                    (sample.loop_length > 0 && sample.loop_start + sample.loop_length <= frames),
                "a sample loop lies outside the sample");
        const bool loops = sample.loop != Xm_Loop::none;
        out.u32(frames * 2);  // lengths and loop points count bytes
        out.u32(loops ? sample.loop_start * 2 : 0);
        out.u32(loops ? sample.loop_length * 2 : 0);
        out.u8(sample.volume);
        out.u8(uint8_t(sample.finetune));
        out.u8(0x10 | unsigned(sample.loop));  // 16-bit
        out.u8(sample.panning);
        out.u8(uint8_t(sample.relative_note));
        out.u8(0);
        out.text(sample.name, 22);
    }
    for (const Xm_Sample& sample : instrument.samples) {
        int16_t previous = 0;
        for (int16_t value : sample.data) {
            out.u16(uint16_t(value - previous));
            previous = value;
        }
    }
}

}  // namespace

std::vector<uint8_t> Write_Xm(const Xm_Module& module) {
    Require(module.channels >= 1 && module.channels <= 32, "channels must be 1 to 32");
    Require(!module.orders.empty() && module.orders.size() <= 256, "there must be 1 to 256 orders");
    Require(!module.patterns.empty() && module.patterns.size() <= 256, "there must be 1 to 256 patterns");
    Require(module.instruments.size() <= 128, "there are more than 128 instruments");
    Require(module.speed >= 1 && module.speed <= 31, "speed must be 1 to 31");
    Require(module.bpm >= 32 && module.bpm <= 255, "BPM must be 32 to 255");
    Require(module.restart >= 0 && size_t(module.restart) < module.orders.size(), "restart lies past the orders");
    for (uint8_t order : module.orders) Require(order < module.patterns.size(), "an order names a missing pattern");

    Byte_Writer out;
    out.text("Extended Module: ", 17);
    out.text(module.name, 20);
    out.u8(0x1A);
    out.text("zizo-data", 20);
    out.u16(0x0104);
    out.u32(276);  // header size, counted from this field
    out.u16(unsigned(module.orders.size()));
    out.u16(unsigned(module.restart));
    out.u16(unsigned(module.channels));
    out.u16(unsigned(module.patterns.size()));
    out.u16(unsigned(module.instruments.size()));
    out.u16(module.linear_frequencies ? 1 : 0);
    out.u16(unsigned(module.speed));
    out.u16(unsigned(module.bpm));
    for (size_t i = 0; i < 256; ++i) out.u8(i < module.orders.size() ? module.orders[i] : 0);

    for (const Xm_Pattern& pattern : module.patterns) {
        Require(pattern.m_rows >= 1 && pattern.m_rows <= 256, "a pattern must have 1 to 256 rows");
        Require(pattern.m_channels == module.channels, "a pattern's width differs from the module's");
        Require(pattern.m_cells.size() == size_t(pattern.m_rows) * size_t(pattern.m_channels),
                "a pattern's cells do not fill it");
        for (const Xm_Cell& cell : pattern.m_cells) {
            Require(cell.note <= Xm_Key_Off, "a note is out of range");
            Require(cell.instrument <= module.instruments.size(), "a cell names a missing instrument");
        }
        const std::vector<uint8_t> packed = Pack(pattern);
        Require(packed.size() <= 0xFFFF, "a packed pattern is larger than 64 KiB");
        out.u32(9);
        out.u8(0);
        out.u16(unsigned(pattern.m_rows));
        out.u16(unsigned(packed.size()));
        out.bytes(packed);
    }
    for (const Xm_Instrument& instrument : module.instruments) Write_Instrument(out, instrument);
    return std::move(out.m_bytes);
}
