#include "tools/pictures/Font.h"

#include <algorithm>

#include "tools/pictures/SourceText.h"

namespace {

// The bytes of the UTF-8 character that starts at text[at].
size_t CharacterLength(const std::string& text, size_t at)
{
    unsigned char lead = text[at];
    size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    return std::min(length, text.size() - at);
}

bool IsGlyphRow(const std::string& text)
{
    return text.find_first_not_of("#.") == std::string::npos;
}

}  // namespace

bool BitmapFont::Load(const std::string& path, std::string& error)
{
    SourceText source;
    if (!source.Load(path, error))
        return false;
    const std::vector<SourceLine>& lines = source.lines();
    size_t at = 0;
    int spaceWidth = 0;
    for (; at < lines.size() && !IsGlyphRow(lines[at].text); ++at) {
        std::vector<std::string> words = Words(lines[at].text);
        if (words.size() == 2 && words[0] == "cell" && ParseSize(words[1], width, height))
            continue;
        if (words.size() == 2 && words[0] == "space") {
            spaceWidth = std::atoi(words[1].c_str());
            continue;
        }
        if (words.size() == 2 && words[0] == "glyph")
            break;
        error = source.At(lines[at], "expected 'cell <w>x<h>', 'space <w>' or 'glyph <character>'");
        return false;
    }
    if (width == 0 || spaceWidth <= 0) {
        error = source.At("must give 'cell <w>x<h>' and 'space <w>' before the glyphs");
        return false;
    }
    space.width = spaceWidth;
    space.rows.assign(height, std::string(spaceWidth, '.'));
    while (at < lines.size()) {
        std::vector<std::string> words = Words(lines[at].text);
        if (words.size() != 2 || words[0] != "glyph") {
            error = source.At(lines[at], "'glyph <character>' expected");
            return false;
        }
        const SourceLine& named = lines[at++];
        std::vector<std::string> rows;
        for (; at < lines.size() && IsGlyphRow(lines[at].text); ++at) {
            if (static_cast<int>(lines[at].text.size()) > width ||
                static_cast<int>(rows.size()) == height) {
                error = source.At(lines[at], "the glyph is larger than its cell");
                return false;
            }
            rows.push_back(lines[at].text);
        }
        rows.resize(height);
        size_t left = std::string::npos, right = 0;
        for (std::string& row : rows) {
            row.resize(width, '.');
            size_t first = row.find('#');
            if (first == std::string::npos)
                continue;
            left = std::min(left, first);
            right = std::max(right, row.rfind('#'));
        }
        if (left == std::string::npos) {
            error = source.At(named, "the glyph has no ink");
            return false;
        }
        Glyph glyph;
        glyph.width = static_cast<int>(right - left + 1);
        for (const std::string& row : rows)
            glyph.rows.push_back(row.substr(left, glyph.width));
        glyphs[words[1]] = glyph;
    }
    return true;
}

std::vector<const BitmapFont::Glyph*> BitmapFont::Layout(const std::string& text) const
{
    std::vector<const Glyph*> laid;
    for (size_t at = 0; at < text.size();) {
        size_t length = CharacterLength(text, at);
        std::string character = text.substr(at, length);
        at += length;
        if (character == " ") {
            laid.push_back(&space);
            continue;
        }
        auto found = glyphs.find(character);
        if (found == glyphs.end())
            missingGlyphs.insert(character);
        else
            laid.push_back(&found->second);
    }
    return laid;
}

int BitmapFont::Measure(const std::string& text, const TextStyle& style) const
{
    std::vector<const Glyph*> laid = Layout(text);
    int inked = 0;
    for (const Glyph* glyph : laid)
        inked += glyph->width;
    int gaps = laid.empty() ? 0 : static_cast<int>(laid.size() - 1) * style.spacing;
    return (inked + gaps) * style.scale + 3;
}

Image BitmapFont::Render(const std::string& text, const TextStyle& style) const
{
    const int s = style.scale;
    Image letters(Measure(text, style), height * s + 3);
    int x = 1;
    for (const Glyph* glyph : Layout(text)) {
        for (int row = 0; row < height; ++row) {
            Colour ink = style.fill.empty() ? kClear : style.fill[row * style.fill.size() / height];
            for (int col = 0; col < glyph->width; ++col)
                if (glyph->rows[row][col] == '#')
                    letters.fillRect(x + col * s, 1 + row * s, s, s, ink);
        }
        x += (glyph->width + style.spacing) * s;
    }
    if (style.outline != kClear)
        letters.outline(style.outline);
    if (style.shadow != kClear) {
        Image lit = letters;
        for (int y = 0; y + 1 < lit.height(); ++y)
            for (int col = 0; col + 1 < lit.width(); ++col)
                if (lit.at(col, y) != kClear && lit.at(col + 1, y + 1) == kClear)
                    letters.set(col + 1, y + 1, style.shadow);
    }
    return letters;
}
