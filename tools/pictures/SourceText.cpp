#include "tools/pictures/SourceText.h"

#include <cerrno>
#include <charconv>
#include <cstring>
#include <fstream>

bool SourceText::Load(const std::string& filePath, std::string& error)
{
    path = filePath;
    content.clear();
    std::ifstream in(filePath, std::ios::binary);
    if (!in) {
        error = filePath + ": " + std::strerror(errno);
        return false;
    }
    std::string text;
    for (int number = 1; std::getline(in, text); ++number) {
        if (!text.empty() && text.back() == '\r')
            text.pop_back();
        size_t first = text.find_first_not_of(" \t");
        if (first == std::string::npos || text.compare(first, 2, "//") == 0)
            continue;
        content.push_back({number, text});
    }
    if (in.bad()) {
        error = filePath + ": read failed";
        return false;
    }
    return true;
}

std::string SourceText::At(const SourceLine& line, const std::string& message) const
{
    return path + ":" + std::to_string(line.number) + ": " + message;
}

std::vector<std::string> Words(const std::string& text)
{
    std::vector<std::string> words;
    size_t at = 0;
    while ((at = text.find_first_not_of(" \t", at)) != std::string::npos) {
        size_t end = text.find_first_of(" \t", at);
        words.push_back(text.substr(at, end - at));
        at = end;
    }
    return words;
}

bool ParseSize(const std::string& text, int& width, int& height)
{
    size_t cross = text.find('x');
    if (cross == std::string::npos)
        return false;
    const char* begin = text.data();
    const char* end = begin + text.size();
    auto [afterWidth, widthError] = std::from_chars(begin, begin + cross, width);
    auto [afterHeight, heightError] = std::from_chars(begin + cross + 1, end, height);
    return widthError == std::errc() && afterWidth == begin + cross && heightError == std::errc() &&
           afterHeight == end && width >= 1 && height >= 1 && width <= 4096 && height <= 4096;
}
