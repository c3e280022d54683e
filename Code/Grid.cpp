#include "Grid.h"

#include "Lookup_Table.h"
#include "Throw_Assertion.h"

namespace {

constexpr const char* Source_File = "Grid";
constexpr int Cell_Size = 16;

// The running values of an edge or a span. They wrap on overflow, as 32-bit
// registers do, so they are kept unsigned and read back as signed.
struct Sample {
    uint32_t u, v, light;
};

// Per-pixel step of a texel coordinate: only the low 24 bits of the
// difference count, read as a signed number, then divided by 16.
uint32_t Texel_Step(uint32_t from, uint32_t to) { return uint32_t(int32_t((to - from) << 8) >> 12); }

uint32_t Light_Step(uint32_t from, uint32_t to) { return uint32_t(int32_t(to - from) >> 4); }

Sample Start(const Grid_Vertex& vertex) {
    return {uint32_t(vertex.u), uint32_t(vertex.v), uint32_t(vertex.light)};
}

Sample Step(const Sample& from, const Sample& to) {
    return {Texel_Step(from.u, to.u), Texel_Step(from.v, to.v), Light_Step(from.light, to.light)};
}

void Advance(Sample& sample, const Sample& step) {
    sample.u += step.u;
    sample.v += step.v;
    sample.light += step.light;
}

}

Grid::~Grid() = default;

Bilinear_Grid::Bilinear_Grid(Screen* screen, Texture* texture, int columns, int rows)
    : m_screen(screen), m_texture(nullptr), m_columns(columns), m_rows(rows) {
    Bilinear_Grid::set_texture(texture);
    m_vertices = std::make_unique<Grid_Vertex[]>(size_t(columns) * size_t(rows));
}

int Bilinear_Grid::column_count() { return m_columns; }

int Bilinear_Grid::row_count() { return m_rows; }

Grid_Vertex* Bilinear_Grid::vertices() { return m_vertices.get(); }

void Bilinear_Grid::set_texture(Texture* texture) {
    const int width = texture->width();
    const int height = texture->height();
    int shift = 0;
    while (shift <= 10 && (1 << shift) != width)
        ++shift;
    // Rows are addressed with a shift, so no other width can be sampled. The
    // grid is left as it was.
    if (shift > 10)
        QEV_Lib::Throw_Assertion("!\"invalid texture width\"", nullptr, Source_File, 0);
    m_texture = texture;
    m_half_width = width / 2;
    m_half_height = height / 2;
    m_width_shift = shift;
    m_height_mask = height - 1;
    m_width_mask = width - 1;
}

void Bilinear_Grid::render() {
    uint32_t* const pixels = m_screen->pixels();
    const unsigned width = unsigned(m_screen->width());
    const unsigned top = (unsigned(m_screen->height()) + Cell_Size - Cell_Size * unsigned(m_rows)) >> 1;
    const uint8_t* const texels = m_texture->pixels();
    const uint8_t* const shade = s_shade_table->m_data;

    for (int i = 0; i + 1 < m_rows; ++i) {
        for (int j = 0; j + 1 < m_columns; ++j) {
            const Grid_Vertex* upper = &m_vertices[i * m_columns + j];
            const Grid_Vertex* lower = upper + m_columns;
            Sample left = Start(upper[0]);
            Sample right = Start(upper[1]);
            const Sample left_step = Step(left, Start(lower[0]));
            const Sample right_step = Step(right, Start(lower[1]));
            uint32_t* line = pixels + (top + Cell_Size * unsigned(i)) * width + Cell_Size * unsigned(j);

            for (int y = 0; y < Cell_Size; ++y, line += width) {
                Sample span = left;
                const Sample span_step = Step(left, right);
                for (int x = 0; x < Cell_Size; ++x) {
                    // The column is centred with half the height and the row
                    // with half the width; on square textures they agree.
                    const int column = ((int32_t(span.u) >> 16) + m_half_height) & m_width_mask;
                    const int row = ((int32_t(span.v) >> 16) + m_half_width) & m_height_mask;
                    const uint8_t* texel = texels + 4 * (column + (row << m_width_shift));
                    const uint8_t* level = shade + 256 * ((int32_t(span.light) >> 16) & 511);
                    line[x] = 0xFF000000u | uint32_t(level[texel[2]]) << 16 | uint32_t(level[texel[1]]) << 8 |
                              uint32_t(level[texel[0]]);
                    Advance(span, span_step);
                }
                Advance(left, left_step);
                Advance(right, right_step);
            }
        }
    }
}

Holder<Grid> Create_Grid(Screen* screen, Texture* texture, int columns, int rows) {
    return Holder<Grid>(new Bilinear_Grid(screen, texture, columns, rows));
}
