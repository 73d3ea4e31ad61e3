#include "tools/pictures/Lettering.h"

#include <algorithm>

Image TitleLettering(Sources& sources, int scale)
{
    const Palette& p = sources.palette;
    TextStyle style;
    style.scale = scale;
    style.fill = {p["cream"], p["yellow"], p["yellow"], p["orange"]};
    style.outline = p["ink"];
    style.shadow = p["wine"];
    style.spacing = 1;
    Image first = sources.kana.Render("こりも", style);
    Image second = sources.kana.Render("しゅーてぃんぐ", style);
    int gap = 2 * scale;
    Image both(std::max(first.width(), second.width()), first.height() + gap + second.height());
    PasteCentred(both, first, both.width() / 2, 0);
    PasteCentred(both, second, both.width() / 2, first.height() + gap);
    return both;
}

Image Caption(Sources& sources, const std::string& text, int scale, const std::string& look)
{
    const Palette& p = sources.palette;
    TextStyle style;
    style.scale = scale;
    style.outline = p["ink"];
    if (look == "heading") {
        style.fill = {p["yellow"], p["yellow"], p["orange"]};
        style.shadow = p["wine"];
    } else if (look == "cool") {
        style.fill = {p["white"], p["ice"], p["sky"]};
        style.shadow = p["navy"];
    } else if (look == "dim") {
        style.fill = {p["grey"], p["slate"]};
    } else if (look == "alarm") {
        style.fill = {p["cream"], p["yellow"], p["orange"], p["red"]};
        style.shadow = p["wine"];
    } else {
        style.fill = {p["white"], p["white"], p["mist"]};
        style.shadow = p["plum"];
    }
    return sources.latin.Render(text, style);
}

void PasteCentred(Image& onto, const Image& image, int cx, int y)
{
    onto.paste(image, cx - image.width() / 2, y);
}
