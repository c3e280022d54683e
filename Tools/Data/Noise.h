#pragma once

#include <cstdint>

// Noise that tiles: every function repeats after one unit in u and v, so a
// picture made from u = x / width, v = y / height wraps without a seam.

// A repeatable pseudo-random value in 0..1 for a lattice point.
float Lattice_Value(int x, int y, uint32_t seed);

// Smooth value noise over a lattice of period_u x period_v cells, 0..1.
float Value_Noise(float u, float v, int period_u, int period_v, uint32_t seed);

// Octaves of value noise, each of twice the frequency and half the weight of
// the one before, normalised to 0..1.
float Fractal_Noise(float u, float v, int period, int octaves, uint32_t seed);

// Distances, in cell units, from (u, v) to the nearest and second nearest of
// one random point per cell of a cells x cells lattice, and the cell that
// holds the nearest.
struct Cell_Distances {
    float nearest;
    float second;
    int cell_x;
    int cell_y;
};
Cell_Distances Cell_Noise(float u, float v, int cells, uint32_t seed);
