#include "tools/pictures/Draw.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

constexpr int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};

double Smooth(double t)
{
    return t * t * (3 - 2 * t);
}

double LatticeValue(int x, int y, uint32_t seed)
{
    return Hash(x, y, seed) / 4294967295.0;
}

}  // namespace

Colour Dithered(const Ramp& ramp, double t, int x, int y)
{
    double position = std::clamp(t, 0.0, 1.0) * (ramp.size() - 1);
    int step = std::min(static_cast<int>(position), static_cast<int>(ramp.size()) - 1);
    double between = position - step;
    double threshold = (kBayer[y & 3][x & 3] + 0.5) / 16.0;
    if (between > threshold && step + 1 < static_cast<int>(ramp.size()))
        return ramp[step + 1];
    return ramp[step];
}

void Disc(Image& image, double cx, double cy, double r, Colour c)
{
    Ellipse(image, cx, cy, r, r, c);
}

void Ellipse(Image& image, double cx, double cy, double rx, double ry, Colour c)
{
    for (int y = static_cast<int>(cy - ry) - 1; y <= cy + ry + 1; ++y)
        for (int x = static_cast<int>(cx - rx) - 1; x <= cx + rx + 1; ++x) {
            double dx = (x + 0.5 - cx) / rx, dy = (y + 0.5 - cy) / ry;
            if (dx * dx + dy * dy <= 1.0)
                image.set(x, y, c);
        }
}

void Line(Image& image, int x0, int y0, int x1, int y1, Colour c)
{
    int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    for (int err = dx + dy;;) {
        image.set(x0, y0, c);
        if (x0 == x1 && y0 == y1)
            return;
        int twice = 2 * err;
        if (twice >= dy)
            err += dy, x0 += sx;
        if (twice <= dx)
            err += dx, y0 += sy;
    }
}

void Ball(Image& image, double cx, double cy, double r, const Ramp& ramp)
{
    // The light comes from the top left and a little from the viewer.
    const double lx = -0.5, ly = -0.6, lz = 0.62;
    for (int y = static_cast<int>(cy - r) - 1; y <= cy + r + 1; ++y)
        for (int x = static_cast<int>(cx - r) - 1; x <= cx + r + 1; ++x) {
            double nx = (x + 0.5 - cx) / r, ny = (y + 0.5 - cy) / r;
            double d = nx * nx + ny * ny;
            if (d > 1.0)
                continue;
            double nz = std::sqrt(1.0 - d);
            double lit = std::max(0.0, nx * lx + ny * ly + nz * lz);
            image.set(x, y, Dithered(ramp, lit, x, y));
        }
}

uint32_t Hash(uint32_t a, uint32_t b, uint32_t seed)
{
    uint32_t h = seed * 0x9E3779B1u ^ a * 0x85EBCA77u ^ b * 0xC2B2AE3Du;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return h;
}

double Noise(double x, double y, int cell, int period, uint32_t seed)
{
    int cells = period / cell;
    double gx = x / cell, gy = y / cell;
    int x0 = static_cast<int>(std::floor(gx)), y0 = static_cast<int>(std::floor(gy));
    double fx = Smooth(gx - x0), fy = Smooth(gy - y0);
    auto wrap = [cells](int i) { return static_cast<uint32_t>(((i % cells) + cells) % cells); };
    uint32_t ya = static_cast<uint32_t>(y0), yb = static_cast<uint32_t>(y0 + 1);
    double top =
        LatticeValue(wrap(x0), ya, seed) * (1 - fx) + LatticeValue(wrap(x0 + 1), ya, seed) * fx;
    double bottom =
        LatticeValue(wrap(x0), yb, seed) * (1 - fx) + LatticeValue(wrap(x0 + 1), yb, seed) * fx;
    return top * (1 - fy) + bottom * fy;
}

uint32_t Dice::Next()
{
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
}
