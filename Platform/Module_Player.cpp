#include "Module_Player.h"

#include <libopenmpt/libopenmpt.hpp>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

namespace Platform {

namespace {

constexpr size_t Ring_Entries = 8 * 1000;

bool Read_File(const char* file_name, std::vector<char>* bytes, std::string* reason) {
    std::ifstream file(file_name, std::ios::binary);
    if (!file) {
        *reason = std::strerror(errno);
        return false;
    }
    bytes->assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    if (file.bad()) {
        *reason = std::strerror(errno);
        return false;
    }
    return true;
}

}

std::unique_ptr<Module_Player> Module_Player::load(const char* file_name, std::string* reason) {
    std::vector<char> bytes;
    if (!Read_File(file_name, &bytes, reason))
        return nullptr;
    if (bytes.empty()) {
        *reason = "the file is empty";
        return nullptr;
    }
    std::ostringstream log;
    try {
        auto module = std::make_unique<openmpt::module>(bytes, log);
        return std::make_unique<Module_Player>(std::move(module));
    } catch (const std::exception& failure) {
        std::string details = log.str();
        details.erase(std::remove(details.begin(), details.end(), '\n'), details.end());
        *reason = std::string("libopenmpt cannot read it as a module (") + failure.what() +
                  (details.empty() ? "" : ": " + details) + ")";
        return nullptr;
    }
}

Module_Player::Module_Player(std::unique_ptr<openmpt::module> module)
    : m_module(std::move(module)), m_ring(Ring_Entries) {
    // Once through: no repeat, and no fade-out that would report the start
    // of the module again after its end.
    m_module->set_repeat_count(0);
    m_module->ctl_set_text("play.at_end", "stop");
    // The default dither draws random noise into the 16-bit samples, and the
    // same show must give the same sound on every run.
    m_module->ctl_set_integer("dither", 0);
    record(0);
}

Module_Player::~Module_Player() {}

void Module_Player::render(int16_t* stereo, size_t frames) {
    while (frames > 0) {
        size_t block = std::min(frames, Block_Frames);
        size_t got = m_ended ? 0 : m_module->read_interleaved_stereo(Sample_Rate, block, stereo);
        // The position libopenmpt reports after a short read is past the
        // end (back at the start), so only full blocks are remembered.
        if (got == block)
            record(m_rendered);
        else
            m_ended = true;
        std::fill(stereo + 2 * got, stereo + 2 * block, int16_t(0));
        m_rendered += block;
        stereo += 2 * block;
        frames -= block;
    }
}

bool Module_Player::seek(int order, int row) {
    if (order < 0 || order >= m_module->get_num_orders())
        return false;
    m_module->set_position_order_row(order, row);
    m_ended = false;
    record(m_rendered);
    return true;
}

void Module_Player::record(uint64_t sample) {
    Module_Row row{m_module->get_current_order(), m_module->get_current_row()};
    // A seek and the block after it start on the same sample: the later wins.
    if (m_entries > 0 && m_ring[(m_entries - 1) % m_ring.size()].sample == sample)
        --m_entries;
    m_ring[m_entries % m_ring.size()] = Entry{sample, row};
    ++m_entries;
}

Module_Row Module_Player::row_at(uint64_t sample) const {
    uint64_t first = m_entries > m_ring.size() ? m_entries - m_ring.size() : 0;
    auto at = [&](uint64_t index) -> const Entry& { return m_ring[index % m_ring.size()]; };
    // The last entry that starts at or before the sample.
    uint64_t low = first, high = m_entries;
    while (high - low > 1) {
        uint64_t middle = low + (high - low) / 2;
        if (at(middle).sample <= sample)
            low = middle;
        else
            high = middle;
    }
    return at(low).row;
}

}
