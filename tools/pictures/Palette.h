#pragma once
// The one palette every picture of the game is drawn from (assets/pictures/palette.txt): each
// colour has a name for the code and one character for the sprite grids.

#include <map>
#include <set>
#include <string>

#include "tools/pictures/Image.h"

class Palette {
public:
    // Refuses more than 32 colours, a character or name used twice, the character '.' (it
    // marks clear pixels in the grids) and any colour that is one of the game's colour keys.
    bool Load(const std::string& path, std::string& error);

    // The named colour. A name the palette lacks is remembered (see missing()) and drawn as
    // the darkest colour, so that one message can list everything to fix.
    Colour operator[](const std::string& name) const;
    bool HasChar(char c) const { return byChar.count(c) != 0; }
    Colour ForChar(char c) const { return byChar.at(c); }
    bool Contains(Colour c) const { return colours.count(c) != 0; }
    const std::set<std::string>& missing() const { return missingNames; }

private:
    std::map<std::string, Colour> byName;
    std::map<char, Colour> byChar;
    std::set<Colour> colours;
    mutable std::set<std::string> missingNames;
};

// The pure colours the game uses as keys; no palette colour may equal one of them.
bool IsKeyColour(Colour c);
