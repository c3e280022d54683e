#pragma once

#include "Holder.h"
#include "Screen.h"
#include "Texture.h"

#include <cstdint>
#include <memory>

// One mesh point: texel coordinates and shade level, all 16.16 fixed point.
struct Grid_Vertex {
    int32_t u, v, light;
};

// A textured, shaded mesh drawn into the screen cell by cell. Vertex (i, j)
// sits at pixel (16 * j, top + 16 * i), the mesh centred vertically; the
// scenes animate only what each vertex shows.
class Grid {
public:
    virtual ~Grid();
    virtual int column_count() = 0;
    virtual int row_count() = 0;
    // Row-major: vertex (i, j) is element i * column_count() + j.
    virtual Grid_Vertex* vertices() = 0;
    virtual void render() = 0;
    virtual void set_texture(Texture* texture) = 0;
};

// Texture: 4 bytes per texel, width a power of two up to 1024, height used as
// a mask.
class Bilinear_Grid : public Grid {
public:
    Bilinear_Grid(Screen* screen, Texture* texture, int columns, int rows);

    int column_count() override;
    int row_count() override;
    Grid_Vertex* vertices() override;
    void render() override;
    void set_texture(Texture* texture) override;

private:
    Screen* m_screen;
    Texture* m_texture;
    int m_columns;
    int m_rows;
    std::unique_ptr<Grid_Vertex[]> m_vertices;
    int m_half_width = 0;
    int m_half_height = 0;
    int m_width_shift = 0;
    int m_height_mask = 0;
    int m_width_mask = 0;
};

Holder<Grid> Create_Grid(Screen* screen, Texture* texture, int columns, int rows);
