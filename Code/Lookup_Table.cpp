#include "Lookup_Table.h"

namespace {

// 256 rows of (i * j) >> 8, each row a running sum that grows by i.
void Fill_Products(uint8_t* data) {
    for (int i = 0; i < 256; ++i) {
        int sum = 0;
        for (int j = 0; j < 256; ++j, sum += i)
            data[i * 256 + j] = uint8_t(sum >> 8);
    }
}

}

Lookup_Table::~Lookup_Table() { delete[] m_data; }

Mul_Table::Mul_Table() {
    m_data = new uint8_t[256 * 256];
    Fill_Products(m_data);
}

int Mul_Table::rows() { return 256; }

Shade_Table::Shade_Table() {
    m_data = new uint8_t[512 * 256];
    Fill_Products(m_data);
    for (int k = 0; k < 256; ++k) {
        int value = 255 * k;
        for (int j = 0; j < 256; ++j, value -= k)
            m_data[(256 + k) * 256 + j] = uint8_t((value >> 8) + j);
    }
}

int Shade_Table::rows() { return 512; }

// Defined together so that the shade table is built first and destroyed last.
Holder<Lookup_Table> s_shade_table(new Shade_Table);
Holder<Lookup_Table> s_mul_table(new Mul_Table);
