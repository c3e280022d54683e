#pragma once

#include "Holder.h"

#include <cstdint>

// 256-byte rows of precomputed colour arithmetic, indexed [row * 256 + column].
class Lookup_Table {
public:
    virtual ~Lookup_Table();
    virtual int rows() = 0;

    uint8_t* m_data = nullptr;
};

// [i][j] = (i * j) >> 8: the weights of the line drawer.
class Mul_Table : public Lookup_Table {
public:
    Mul_Table();
    int rows() override;
};

// Rows 0-255 darken a channel by i / 256; rows 256 + k lighten it towards 255
// by k / 256. The grid's shade levels.
class Shade_Table : public Lookup_Table {
public:
    Shade_Table();
    int rows() override;
};

extern Holder<Lookup_Table> s_shade_table;
extern Holder<Lookup_Table> s_mul_table;
