// Whole screens: black for the fades, game over, the staff roll, the bomb's picture with its
// caption; and the score digits.

#include <cmath>

#include "tools/pictures/Draw.h"
#include "tools/pictures/Lettering.h"
#include "tools/pictures/Pictures.h"
#include "tools/pictures/SourceText.h"

namespace {

constexpr Colour kScreenBlack = 0x000000;
constexpr int kRollHeight = 1200;
constexpr int kCardHeight = 240;

// The closing card: the bottom 240 rows of the roll, which open the ending and end the roll.
void ClosingCard(Sources& sources, Image& roll, int top)
{
    const Palette& p = sources.palette;
    // A soft night-blue glow behind the lettering, dithered out into the black.
    Ramp glow = {kScreenBlack, p["navy"]};
    for (int y = top; y < top + kCardHeight; ++y)
        for (int x = 0; x < 320; ++x) {
            double r = std::hypot((x - 160) / 1.6, y - (top + 104.0));
            roll.set(x, y, Dithered(glow, 1.1 - r / 95, x, y));
        }
    Image title = TitleLettering(sources, 2);
    PasteCentred(roll, title, 160, top + 48);
    Image subtitle = Caption(sources, "KORIMO SHOOTING", 1, "cool");
    PasteCentred(roll, subtitle, 160, top + 52 + title.height());
    Image thanks = Caption(sources, "Thank you for playing!", 2, "bright");
    PasteCentred(roll, thanks, 160, top + 160);
}

}  // namespace

Image BuildBlack(Sources&)
{
    return Image(320, 240, kScreenBlack);
}

Image BuildGameOver(Sources& sources)
{
    const Palette& p = sources.palette;
    Image screen(320, 240);
    Ramp gloom = {p["ink"], p["plum"], p["wine"]};
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x) {
            double r = std::hypot(x - 160.0, (y - 110.0) * 1.3);
            screen.set(x, y, Dithered(gloom, 0.9 - r / 180, x, y));
        }
    Dice dice(13);
    for (int i = 0; i < 36; ++i) {
        int x = dice.Between(0, 319), y = dice.Between(0, 239), length = dice.Between(3, 9);
        Line(screen, x, y, x - length / 3, y + length, p["plum"]);
    }
    Image words = Caption(sources, "GAME OVER", 4, "alarm");
    PasteCentred(screen, words, 160, 78);
    Image heroine = sources.Grid("velani").crop(32, 0, 32, 16).magnified(2);
    // Fallen: she lies upside down under the words.
    Image fallen(heroine.width(), heroine.height());
    for (int y = 0; y < heroine.height(); ++y)
        for (int x = 0; x < heroine.width(); ++x)
            fallen.set(x, heroine.height() - 1 - y, heroine.at(x, y));
    PasteCentred(screen, fallen, 160, 134);
    Image hint = Caption(sources, "PUSH SPACE KEY", 1, "dim");
    PasteCentred(screen, hint, 160, 196);
    return screen;
}

Image BuildStaffRoll(Sources& sources)
{
    Image roll(320, kRollHeight, kScreenBlack);
    // The credits, top to bottom, from staffroll.txt; the roll opens on a nearly empty screen
    // so that the first lines rise from the bottom edge.
    int y = kCardHeight - 40;
    for (const std::string& line : sources.Lines("staffroll")) {
        std::vector<std::string> words = Words(line);
        std::string keyword = words.empty() ? "" : words[0];
        std::string text = line.size() > keyword.size()
                               ? line.substr(line.find(keyword) + keyword.size() + 1)
                               : "";
        if (keyword == "gap") {
            y += std::atoi(text.c_str());
        } else if (keyword == "role" || keyword == "name" || keyword == "note") {
            Image lettering = Caption(sources, text, keyword == "note" ? 1 : 2,
                                      keyword == "role"   ? "heading"
                                      : keyword == "name" ? "bright"
                                                          : "cool");
            PasteCentred(roll, lettering, 160, y);
            y += lettering.height() + (keyword == "role" ? 6 : 3);
        } else {
            sources.problems.push_back(sources.folder + "/staffroll.txt: unknown line '" + line +
                                       "'");
        }
    }
    if (y > kRollHeight - kCardHeight)
        sources.problems.push_back(sources.folder + "/staffroll.txt: the credits run " +
                                   std::to_string(y - (kRollHeight - kCardHeight)) +
                                   " rows into the closing card");
    ClosingCard(sources, roll, kRollHeight - kCardHeight);
    return roll;
}

Image BuildDigits(Sources& sources)
{
    const Palette& p = sources.palette;
    TextStyle style;
    style.fill = {p["white"], p["white"], p["ice"], p["sky"]};
    style.outline = p["ink"];
    Image strip(80, 16);
    for (int digit = 0; digit < 10; ++digit) {
        Image glyph = sources.digits.Render(std::string(1, char('0' + digit)), style);
        // The glyph and its rim are at most 8 wide: centre them in the cell.
        int rimmed = glyph.width() - 1;
        strip.paste(glyph.crop(0, 0, rimmed, glyph.height()), digit * 8 + (8 - rimmed) / 2, 1);
    }
    return strip;
}

Image BuildBomber(Sources& sources)
{
    const Palette& p = sources.palette;
    Image flash(320, 240);
    Ramp burst = {p["purple"], p["magenta"], p["pink"], p["peach"], p["cream"]};
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x) {
            double dx = x + 0.5 - 160, dy = y + 0.5 - 120;
            double r = std::hypot(dx, dy);
            double rays = 0.08 * std::cos(std::atan2(dy, dx) * 12);
            flash.set(x, y, Dithered(burst, 1.0 - r / 200 + rays, x, y));
        }
    // A magic circle: two rings and a six-pointed star.
    for (double a = 0; a < 2 * M_PI; a += 0.002) {
        for (double r : {92.0, 98.0, 60.0})
            flash.set(static_cast<int>(160 + r * std::cos(a)),
                      static_cast<int>(120 + r * std::sin(a)), p["white"]);
    }
    for (int i = 0; i < 6; ++i) {
        double a = i * M_PI / 3 - M_PI / 2, b = a + 2 * M_PI / 3;
        Line(flash, static_cast<int>(160 + 92 * std::cos(a)),
             static_cast<int>(120 + 92 * std::sin(a)), static_cast<int>(160 + 92 * std::cos(b)),
             static_cast<int>(120 + 92 * std::sin(b)), p["white"]);
    }
    return flash;
}

Image BuildBomberCaption(Sources& sources)
{
    const Palette& p = sources.palette;
    Image caption(208, 40);
    // Speed lines trail to the right: the caption crosses the screen to the left.
    for (int i = 0; i < 6; ++i) {
        int y = 6 + i * 6;
        caption.fillRect(150 + (i % 3) * 12, y, 50 - (i % 3) * 12, 1,
                         i % 2 ? p["orange"] : p["yellow"]);
    }
    Image words = Caption(sources, "BOMBER!!", 4, "alarm");
    caption.paste(words, 2, 1);
    return caption;
}
