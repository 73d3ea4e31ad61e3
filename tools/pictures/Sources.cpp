#include "tools/pictures/Sources.h"

#include "tools/pictures/SourceText.h"
#include "tools/pictures/SpriteGrid.h"

bool Sources::Load(const std::string& from, std::string& error)
{
    folder = from;
    return palette.Load(folder + "/palette.txt", error) &&
           latin.Load(folder + "/font.txt", error) && kana.Load(folder + "/kana.txt", error) &&
           digits.Load(folder + "/digits.txt", error);
}

Image Sources::Grid(const std::string& stem)
{
    Image sheet;
    std::string error;
    if (!LoadSpriteGrid(folder + "/" + stem + ".txt", palette, sheet, error))
        problems.push_back(error);
    return sheet;
}

std::vector<std::string> Sources::Lines(const std::string& stem)
{
    SourceText source;
    std::string error;
    std::vector<std::string> lines;
    if (!source.Load(folder + "/" + stem + ".txt", error))
        problems.push_back(error);
    for (const SourceLine& line : source.lines())
        lines.push_back(line.text);
    return lines;
}
