#pragma once
// The game's paths are UTF-8 everywhere; Windows' file calls take them wide. A path made this
// way names the same file on every system.

#include <filesystem>
#include <string>

inline std::filesystem::path Utf8Path(const std::string& utf8)
{
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string Utf8Of(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}
