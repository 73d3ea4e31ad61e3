// Explosions, the enemy's blast, the graze spark and the gauge: effects that grow, glow and
// fade, easier to shape in code than by hand.

#include <cmath>

#include "tools/pictures/Draw.h"
#include "tools/pictures/Pictures.h"

namespace {

// A ball of fire of the given radius: hot in the middle, ragged at the rim. `age` from 0 to 1
// cools it and eats holes into it as smoke takes over.
void Fireball(Image& sheet, int left, int size, double radius, double age, const Ramp& heat,
              uint32_t seed)
{
    double c = size / 2.0;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            double d = std::hypot(x + 0.5 - c, y + 0.5 - c) / radius;
            double grain = Noise(x, y, 5, 4096, seed + left);
            d += (grain - 0.5) * 0.45;
            if (d > 1.0 || grain < age * 0.5 - 0.05)
                continue;
            double t = (1.0 - d) * (1.2 - age) + 0.15;
            sheet.set(left + x, y, Dithered(heat, t, left + x, y));
        }
    sheet.fillPinholes();
}

}  // namespace

Image BuildExplosion(Sources& sources)
{
    const Palette& p = sources.palette;
    Ramp heat = {p["wine"], p["red"], p["orange"], p["yellow"], p["cream"]};
    Image sheet(32 * 4, 32);
    const double radius[] = {8, 11, 14, 15.5};
    for (int frame = 0; frame < 4; ++frame)
        Fireball(sheet, frame * 32, 32, radius[frame], frame / 3.0, heat, 17);
    return sheet;
}

Image BuildBlast(Sources& sources)
{
    // The enemy's blast glows magenta and violet, unlike her own orange explosions: the first
    // three frames are a warning ring, the last two the burst that hurts.
    const Palette& p = sources.palette;
    Ramp energy = {p["purple"], p["magenta"], p["pink"], p["white"]};
    Image sheet(48 * 5, 48);
    const double ring[] = {7, 12, 17};
    for (int frame = 0; frame < 3; ++frame)
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 48; ++x) {
                double d = std::hypot(x + 0.5 - 24, y + 0.5 - 24);
                double edge = std::abs(d - ring[frame]);
                if (edge < 1.6)
                    sheet.set(frame * 48 + x, y, Dithered(energy, 0.9 - edge / 2, x, y));
                else if (d < 3 + frame)
                    sheet.set(frame * 48 + x, y, p["pink"]);
            }
    Fireball(sheet, 3 * 48, 48, 21, 0.0, energy, 29);
    Fireball(sheet, 4 * 48, 48, 23, 0.45, energy, 31);
    return sheet;
}

Image BuildGrazeSpark(Sources& sources)
{
    const Palette& p = sources.palette;
    Image sheet(16 * 4, 16);
    const int reach[] = {3, 5, 7, 7};
    for (int frame = 0; frame < 4; ++frame) {
        int cx = frame * 16 + 8, cy = 8, r = reach[frame];
        Colour core = frame < 2 ? p["white"] : p["ice"];
        Colour arm = frame < 3 ? p["cyan"] : p["sky"];
        if (frame < 3) {
            for (int d = -r; d <= r; ++d) {
                sheet.set(cx + d, cy, arm);
                sheet.set(cx, cy + d, arm);
            }
            sheet.set(cx, cy, core);
            sheet.set(cx - 1, cy, core), sheet.set(cx + 1, cy, core);
            sheet.set(cx, cy - 1, core), sheet.set(cx, cy + 1, core);
        }
        // Sparks fly out along the diagonals.
        int out = frame + 2;
        for (int sx : {-1, 1})
            for (int sy : {-1, 1})
                sheet.set(cx + sx * out, cy + sy * out, frame < 3 ? core : arm);
    }
    return sheet;
}

Image BuildGauge(Sources& sources)
{
    const Palette& p = sources.palette;
    Image bar(96, 8);
    Ramp charge = {p["cyan"], p["sky"], p["violet"], p["pink"], p["magenta"]};
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 96; ++x) {
            Colour c = Dithered(charge, x / 95.0, x, y);
            if (y == 1)
                c = x < 48 ? p["ice"] : p["pink"];  // the lit top edge
            if (y == 0 || y == 7)
                c = p["navy"];
            bar.set(x, y, c);
        }
    return bar;
}
