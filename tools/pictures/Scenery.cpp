// The three landscape layers: the fixed sky, the far land that scrolls slowly behind
// everything (it repeats every 1216 columns) and the bright tree band along the bottom (it
// repeats every 640 columns).

#include <algorithm>
#include <cmath>

#include "tools/pictures/Draw.h"
#include "tools/pictures/Pictures.h"

namespace {

constexpr int kFarLandPeriod = 1216;
constexpr int kFarLandWidth = 1536;  // the game reads up to 320 columns past the period
constexpr int kTreeBandPeriod = 640;
constexpr int kTreeBandWidth = 960;

// Three periods side by side, so that shapes and outlines crossing a period's edge come out
// whole; the middle one, repeated out to the width, is the seamless layer.
Image Wrapped(const Image& threePeriods, int period, int width)
{
    Image layer(width, threePeriods.height());
    for (int y = 0; y < layer.height(); ++y)
        for (int x = 0; x < width; ++x)
            layer.set(x, y, threePeriods.at(period + x % period, y));
    return layer;
}

// A cloud: puffs along a flat base, white where the light falls, mist and haze underneath.
void Cloud(Image& sky, const Palette& p, int left, int base, int width, uint32_t seed)
{
    Image shape(sky.width(), sky.height());
    Dice dice(seed);
    int puffs = std::max(2, width / 12);
    for (int i = 0; i < puffs; ++i) {
        double along = (i + 0.5) / puffs;
        double r = 5 + 9 * std::sin(along * M_PI) + dice.Between(0, 3);
        Disc(shape, left + along * width, base - r * 0.55, r, p["white"]);
    }
    for (int y = 0; y < sky.height(); ++y)
        for (int x = 0; x < sky.width(); ++x) {
            if (shape.at(x, y) == kClear || y > base)
                continue;
            Colour c = p["white"];
            if (shape.get(x + 3, y + 3) == kClear || y > base - 3)
                c = p["mist"];
            if (y == base)
                c = p["haze"];
            sky.set(x, y, c);
        }
}

// The height (row) of a ridge at x: a broad swell with smaller bumps, repeating with the layer.
double Ridge(double x, double middle, double swell, double bumps, uint32_t seed)
{
    return middle + swell * (Noise(x, 0, 152, kFarLandPeriod, seed) - 0.5) * 2 +
           bumps * (Noise(x, 0, 38, kFarLandPeriod, seed + 1) - 0.5) * 2;
}

// Light from the left: a slope that climbs toward the right faces it.
double Lit(double left, double right)
{
    return std::clamp(0.5 + (left - right) * 0.35, 0.0, 1.0);
}

void House(Image& land, const Palette& p, int x, int ground, int width, int wall, Colour roof)
{
    int roofHeight = width / 2;
    land.fillRect(x, ground - wall, width, wall, p["mist"]);
    land.fillRect(x + width / 2 + 1, ground - wall, width - width / 2 - 1, wall, p["grey"]);
    for (int row = 0; row < roofHeight; ++row) {
        int inset = roofHeight - 1 - row;
        int top = ground - wall - roofHeight + row;
        land.fillRect(x - 1 + inset, top, width + 2 - 2 * inset, 1, roof);
        land.fillRect(x + width / 2, top, width / 2 + 1 - inset, 1, p["plum"]);
    }
    for (int wx = x + 2; wx + 1 < x + width - 1; wx += 4)
        land.fillRect(wx, ground - wall + 2, 2, 2, p["navy"]);
}

void Tower(Image& land, const Palette& p, int x, int ground)
{
    land.fillRect(x, ground - 20, 6, 20, p["mist"]);
    land.fillRect(x + 4, ground - 20, 2, 20, p["grey"]);
    land.fillRect(x + 2, ground - 16, 2, 3, p["navy"]);
    for (int row = 0; row < 9; ++row)
        land.fillRect(x + 3 - row / 3, ground - 29 + row, 1 + 2 * (row / 3), 1, p["slate"]);
}

void Town(Image& land, const Palette& p, int centre, int ground, uint32_t seed)
{
    Dice dice(seed);
    Tower(land, p, centre, ground - 2);
    const Colour roofs[] = {p["wine"], p["slate"], p["wine"], p["haze"]};
    for (int i = 0; i < 7; ++i) {
        int x = centre - 36 + i * 11 + dice.Between(0, 2);
        if (x > centre - 10 && x < centre + 8)
            continue;
        House(land, p, x, ground + dice.Between(-1, 1), dice.Between(7, 9), dice.Between(5, 7),
              roofs[dice.Next() % 4]);
    }
}

}  // namespace

Image BuildSky(Sources& sources)
{
    const Palette& p = sources.palette;
    Image sky(320, 240);
    Ramp air = {p["blue"], p["sky"], p["ice"], p["mist"]};
    for (int y = 0; y < sky.height(); ++y)
        for (int x = 0; x < sky.width(); ++x)
            sky.set(x, y, Dithered(air, y / 239.0, x, y));
    Cloud(sky, p, 18, 52, 70, 3);
    Cloud(sky, p, 150, 34, 96, 5);
    Cloud(sky, p, 250, 78, 56, 7);
    Cloud(sky, p, 96, 104, 44, 11);
    return sky;
}

Image BuildFarLand(Sources& sources)
{
    const Palette& p = sources.palette;
    const int period = kFarLandPeriod;
    Image land(period * 3, 240);
    Ramp hillside = {p["forest"], p["teal"], p["green"]};
    for (int x = 0; x < land.width(); ++x) {
        double mountain = Ridge(x, 118, 26, 9, 21);
        double hill = Ridge(x, 168, 12, 4, 33);
        double mountainLight = Lit(Ridge(x - 2, 118, 26, 9, 21), Ridge(x + 2, 118, 26, 9, 21));
        double hillLight = Lit(Ridge(x - 2, 168, 12, 4, 33), Ridge(x + 2, 168, 12, 4, 33));
        for (int y = static_cast<int>(mountain); y < land.height(); ++y) {
            double depth = (y - mountain) / 40.0;
            land.set(x, y, Dithered({p["haze"], p["mist"]}, mountainLight * (1 - depth), x, y));
        }
        for (int y = static_cast<int>(hill); y < land.height(); ++y) {
            double depth = (y - hill) / 40.0;
            land.set(x, y, Dithered(hillside, 0.55 + hillLight * 0.45 - depth * 0.5, x, y));
        }
        // Fields below the hills: rows of patches in greens, wider toward the viewer, with a
        // hedge along the top of each row.
        const int rowTops[] = {196, 203, 211, 221, 240};
        for (int row = 0; row < 4; ++row) {
            int patch = (x % period + row * 151) / (60 + row * 24);
            double shade = 0.55 + 0.35 * (Hash(patch, row, 45) % 100) / 100.0;
            for (int y = rowTops[row]; y < rowTops[row + 1]; ++y)
                land.set(x, y, y == rowTops[row] ? p["forest"] : Dithered(hillside, shade, x, y));
        }
    }
    for (int copy = 0; copy < 3; ++copy) {
        for (int centre : {300, 880}) {
            int x = centre + copy * period;
            Town(land, p, x, static_cast<int>(Ridge(x, 168, 12, 4, 33)) + 6, centre);
        }
    }
    return Wrapped(land, period, kFarLandWidth);
}

Image BuildTreeBand(Sources& sources)
{
    const Palette& p = sources.palette;
    const int period = kTreeBandPeriod;
    Image band(period * 3, 90);
    Ramp leaves = {p["forest"], p["green"], p["leaf"], p["lime"]};
    Ramp bushes = {p["forest"], p["green"], p["leaf"]};
    Dice dice(77);
    struct Tree {
        int x, top, crown;
    };
    std::vector<Tree> trees;
    std::vector<int> bushAt;
    // Groves with open ground between them, so the land behind shows through.
    for (int grove = 0; grove < 5; ++grove) {
        int start = grove * 128 + dice.Between(0, 20);
        int count = dice.Between(1, 3);
        for (int i = 0; i < count; ++i)
            trees.push_back(
                {start + i * dice.Between(22, 30), dice.Between(6, 34), dice.Between(13, 18)});
        bushAt.push_back(start + count * 26 + dice.Between(4, 14));
    }
    for (int copy = 0; copy < 3; ++copy) {
        int shift = copy * period;
        for (const Tree& tree : trees) {
            int trunkTop = tree.top + tree.crown;
            band.fillRect(shift + tree.x - 2, trunkTop, 5, 84 - trunkTop, p["brown"]);
            band.fillRect(shift + tree.x - 2, trunkTop, 2, 84 - trunkTop, p["tan"]);
        }
        for (const Tree& tree : trees) {
            double cx = shift + tree.x, cy = tree.top + tree.crown;
            Ball(band, cx + tree.crown * 0.55, cy + 2, tree.crown * 0.7, leaves);
            Ball(band, cx - tree.crown * 0.6, cy + 3, tree.crown * 0.65, leaves);
            Ball(band, cx, cy - tree.crown * 0.2, tree.crown, leaves);
        }
        for (int x : bushAt) {
            Ball(band, shift + x, 78, 9, bushes);
            Ball(band, shift + x + 10, 80, 7, bushes);
        }
    }
    // A strip of grass holds the band together along the bottom edge.
    for (int y = 82; y < band.height(); ++y)
        for (int x = 0; x < band.width(); ++x) {
            double blade = Noise(x, 0, 4, period, 90) * 4;
            if (y - 82 + blade >= 2)
                band.set(x, y, Dithered(bushes, (89 - y) / 8.0, x, y));
        }
    band.outline(p["ink"]);
    return Wrapped(band, period, kTreeBandWidth);
}
