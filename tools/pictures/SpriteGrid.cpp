#include "tools/pictures/SpriteGrid.h"

#include <vector>

#include "tools/pictures/SourceText.h"

namespace {

bool ReadFrame(const SourceText& source, size_t& at, const Palette& palette, int width, int height,
               Image& frame, std::string& error)
{
    frame = Image(width, height);
    for (int row = 0; row < height; ++row, ++at) {
        if (at >= source.lines().size()) {
            error = source.At("the last frame has fewer than " + std::to_string(height) + " rows");
            return false;
        }
        const SourceLine& line = source.lines()[at];
        if (static_cast<int>(line.text.size()) != width) {
            error = source.At(line, "a row of " + std::to_string(width) + " characters expected");
            return false;
        }
        for (int col = 0; col < width; ++col) {
            char c = line.text[col];
            if (c == '.')
                continue;
            if (!palette.HasChar(c)) {
                error = source.At(line, std::string("'") + c + "' is not a palette character");
                return false;
            }
            frame.set(col, row, palette.ForChar(c));
        }
    }
    return true;
}

}  // namespace

bool LoadSpriteGrid(const std::string& path, const Palette& palette, Image& sheet,
                    std::string& error)
{
    SourceText source;
    if (!source.Load(path, error))
        return false;
    const std::vector<SourceLine>& lines = source.lines();
    int width = 0, height = 0;
    std::vector<std::string> header =
        lines.empty() ? std::vector<std::string>{} : Words(lines[0].text);
    if (header.size() != 2 || header[0] != "size" || !ParseSize(header[1], width, height)) {
        error = source.At("must begin with 'size <width>x<height>'");
        return false;
    }
    std::vector<Image> frames;
    for (size_t at = 1; at < lines.size();) {
        if (Words(lines[at].text) != std::vector<std::string>{"frame"}) {
            error = source.At(lines[at], "'frame' expected");
            return false;
        }
        ++at;
        frames.emplace_back();
        if (!ReadFrame(source, at, palette, width, height, frames.back(), error))
            return false;
    }
    if (frames.empty()) {
        error = source.At("holds no frame");
        return false;
    }
    sheet = Image(width * static_cast<int>(frames.size()), height);
    for (size_t i = 0; i < frames.size(); ++i)
        sheet.paste(frames[i], static_cast<int>(i) * width, 0);
    return true;
}
