// The title screen: the logo that turns into place, the opening picture behind the menu, and
// the menu itself in its two states.

#include <cmath>

#include "tools/pictures/Draw.h"
#include "tools/pictures/Lettering.h"
#include "tools/pictures/Pictures.h"

namespace {

void Sparkle(Image& image, const Palette& p, int x, int y, int size)
{
    for (int d = -size; d <= size; ++d) {
        image.set(x + d, y, p["ice"]);
        image.set(x, y + d, p["ice"]);
    }
    image.set(x, y, p["white"]);
}

// The heroine's first frame, magnified.
Image Heroine(Sources& sources, int scale)
{
    Image sheet = sources.Grid("velani");
    return sheet.crop(0, 0, 32, 16).magnified(scale);
}

// One state of the menu: both entries, the chosen one lit.
Image MenuPanel(Sources& sources, int chosen)
{
    const Palette& p = sources.palette;
    Image panel(280, 64);
    Ramp night = {p["navy"], p["plum"]};
    for (int y = 2; y < 62; ++y)
        for (int x = 2; x < 278; ++x)
            panel.set(x, y, Dithered(night, y / 62.0, x, y));
    // A frame with its lit edge on the top left, as everything else in the game.
    for (int x = 2; x < 278; ++x)
        panel.set(x, 2, p["violet"]), panel.set(x, 61, p["purple"]);
    for (int y = 2; y < 62; ++y)
        panel.set(2, y, p["violet"]), panel.set(277, y, p["purple"]);
    panel.outline(p["ink"]);
    const char* entries[] = {"1 MINUTE GAME", "5 MINUTES GAME"};
    for (int i = 0; i < 2; ++i) {
        int top = 8 + i * 26;
        if (i == chosen) {
            Ramp glow = {p["purple"], p["violet"], p["pink"]};
            for (int y = top; y < top + 22; ++y)
                for (int x = 20; x < 260; ++x)
                    panel.set(
                        x, y,
                        Dithered(glow, 1.0 - std::abs(x - 140) / 130.0 - (y - top) / 60.0, x, y));
            Image mark = sources.Grid("tama").crop(0, 0, 8, 8);
            panel.paste(mark, 26, top + 7);
            panel.paste(mark.mirrored(), 246, top + 7);
        }
        Image text = Caption(sources, entries[i], 2, i == chosen ? "bright" : "dim");
        PasteCentred(panel, text, 140, top + 1);
    }
    return panel;
}

}  // namespace

Image BuildLogo(Sources& sources)
{
    const Palette& p = sources.palette;
    Image logo(320, 240);
    // Rays and rings about the centre, so the picture looks whole at every angle it turns by.
    Ramp rayA = {p["navy"], p["blue"], p["sky"]};
    Ramp rayB = {p["navy"], p["purple"], p["violet"]};
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x) {
            double dx = x + 0.5 - 160, dy = y + 0.5 - 120;
            double r = std::hypot(dx, dy);
            int ray =
                static_cast<int>(std::floor((std::atan2(dy, dx) + M_PI) / (2 * M_PI) * 24)) % 2;
            double t = 0.85 - r / 230;
            Colour c = Dithered(ray ? rayA : rayB, t, x, y);
            if (std::abs(r - 104) < 1.5 || std::abs(r - 150) < 1)
                c = p["violet"];
            logo.set(x, y, c);
        }
    Dice dice(9);
    for (int i = 0; i < 40; ++i) {
        int x = dice.Between(0, 319), y = dice.Between(0, 239);
        if (std::hypot(x - 160, y - 120) > 112)
            Sparkle(logo, p, x, y, dice.Between(0, 2));
    }
    Disc(logo, 160, 120, 100, p["navy"]);
    Ball(logo, 160, 120, 96, {p["navy"], p["navy"], p["plum"], p["purple"]});
    Image title = TitleLettering(sources, 2);
    PasteCentred(logo, title, 160, 66);
    Image subtitle = Caption(sources, "KORIMO SHOOTING", 1, "cool");
    PasteCentred(logo, subtitle, 160, 66 + title.height() + 4);
    Image heroine = Heroine(sources, 1);
    logo.paste(heroine, 144, 66 + title.height() + 18);
    return logo;
}

Image BuildOpening(Sources& sources)
{
    const Palette& p = sources.palette;
    Image opening(320, 240);
    Ramp dusk = {p["navy"], p["purple"], p["magenta"], p["pink"], p["peach"]};
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x)
            opening.set(x, y, Dithered(dusk, y / 200.0, x, y));
    Ball(opening, 262, 108, 22, {p["orange"], p["peach"], p["cream"]});
    Dice dice(4);
    for (int i = 0; i < 30; ++i) {
        int x = dice.Between(0, 319), y = dice.Between(0, 90);
        opening.set(x, y, i % 3 ? p["violet"] : p["white"]);
    }
    // Far hills in plum, the near ones dark, with the lights of the town between.
    for (int x = 0; x < 320; ++x) {
        int far = 176 + static_cast<int>(10 * std::sin(x / 40.0) + 6 * std::sin(x / 13.0 + 1));
        int nearTop = 204 + static_cast<int>(8 * std::sin(x / 55.0 + 2) + 3 * std::sin(x / 9.0));
        for (int y = far; y < 240; ++y)
            opening.set(x, y, p["plum"]);
        for (int y = nearTop; y < 240; ++y)
            opening.set(x, y, p["ink"]);
    }
    for (int i = 0; i < 24; ++i) {
        int x = dice.Between(4, 315);
        int y = 190 + dice.Between(0, 10);
        opening.fillRect(x, y, 2, 1, i % 4 ? p["yellow"] : p["cream"]);
    }
    Image title = TitleLettering(sources, 1);
    PasteCentred(opening, title, 160, 10);
    Image subtitle = Caption(sources, "KORIMO SHOOTING", 1, "cool");
    PasteCentred(opening, subtitle, 160, 14 + title.height());
    Image heroine = Heroine(sources, 2);
    opening.paste(heroine, 210, 76);
    for (int i = 0; i < 8; ++i)
        Sparkle(opening, p, 204 - i * 14, 96 + (i % 2) * 5, i < 4 ? 2 : 1);
    return opening;
}

Image BuildMenu(Sources& sources)
{
    // The game shows the lower half for the one-minute game and the upper half for the
    // five-minute game.
    Image menu(280, 128);
    menu.paste(MenuPanel(sources, 1), 0, 0);
    menu.paste(MenuPanel(sources, 0), 0, 64);
    return menu;
}
