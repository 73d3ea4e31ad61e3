#pragma once
// Drawing helpers for the pictures made in code: shapes, shaded balls, dithered ramps and
// repeatable noise. Everything is deterministic, so the same sources give the same pictures.

#include <cstdint>
#include <vector>

#include "tools/pictures/Image.h"

// The colours of a material from dark to light.
using Ramp = std::vector<Colour>;

// t from 0 (first colour) to 1 (last), with the steps between two colours spread by a 4x4
// ordered dither so that gradients stay within the palette.
Colour Dithered(const Ramp& ramp, double t, int x, int y);

void Disc(Image& image, double cx, double cy, double r, Colour c);
void Ellipse(Image& image, double cx, double cy, double rx, double ry, Colour c);
void Line(Image& image, int x0, int y0, int x1, int y1, Colour c);
// A ball lit from the top left: light where it faces the light, dark where it turns away.
void Ball(Image& image, double cx, double cy, double r, const Ramp& ramp);

// A whole number from three, well mixed; the base of every random choice here.
uint32_t Hash(uint32_t a, uint32_t b, uint32_t seed);
// Smooth noise from 0 to 1 over a lattice of cells of the given size; it repeats every
// `period` pixels along x when period is a multiple of cell, so landscapes can wrap.
double Noise(double x, double y, int cell, int period, uint32_t seed);

// A small generator for placing things (xorshift; the same seed gives the same sequence).
class Dice {
public:
    explicit Dice(uint32_t seed) : state(seed ? seed : 1) {}
    uint32_t Next();
    // A whole number from low to high, both included.
    int Between(int low, int high)
    {
        return low + static_cast<int>(Next() % uint32_t(high - low + 1));
    }

private:
    uint32_t state;
};
