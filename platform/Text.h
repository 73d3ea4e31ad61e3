#pragma once
// Text helpers that the game's readers of hand-edited files and the asset tools share. Header
// only, so a tool can use them without linking the platform layer.

#include <cctype>
#include <string_view>

// The text without the white space around it.
inline std::string_view Trim(std::string_view text)
{
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}
