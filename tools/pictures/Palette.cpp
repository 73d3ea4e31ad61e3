#include "tools/pictures/Palette.h"

#include <charconv>

#include "tools/pictures/SourceText.h"

namespace {

constexpr size_t kMostColours = 32;

bool ParseColour(const std::string& hex, Colour& colour)
{
    if (hex.size() != 6)
        return false;
    auto [end, failed] = std::from_chars(hex.data(), hex.data() + 6, colour, 16);
    return failed == std::errc() && end == hex.data() + 6;
}

}  // namespace

bool IsKeyColour(Colour c)
{
    return c == 0x000000 || c == 0xFFFFFF || c == 0x00FF00 || c == 0x0000FF || c == 0xFF0000;
}

bool Palette::Load(const std::string& path, std::string& error)
{
    SourceText source;
    if (!source.Load(path, error))
        return false;
    for (const SourceLine& line : source.lines()) {
        std::vector<std::string> words = Words(line.text);
        Colour colour = 0;
        if (words.size() != 3 || words[0].size() != 1 || !ParseColour(words[2], colour)) {
            error = source.At(line, "expected: <character> <name> <rrggbb>");
            return false;
        }
        char c = words[0][0];
        if (c == '.' || byChar.count(c) || byName.count(words[1]) || colours.count(colour)) {
            error = source.At(line, "character, name or colour used twice (or '.')");
            return false;
        }
        if (IsKeyColour(colour)) {
            error = source.At(line, "a pure key colour would turn transparent in a sprite");
            return false;
        }
        byChar[c] = colour;
        byName[words[1]] = colour;
        colours.insert(colour);
    }
    if (colours.empty() || colours.size() > kMostColours) {
        error = source.At("the palette needs 1 to 32 colours");
        return false;
    }
    return true;
}

Colour Palette::operator[](const std::string& name) const
{
    auto found = byName.find(name);
    if (found != byName.end())
        return found->second;
    missingNames.insert(name);
    return *colours.begin();
}
