#include "app/BoardBests.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <utility>

#include "platform/Files.h"

namespace {

const char* const kKeys[2] = {"best1 = ", "best5 = "};
constexpr const char kBoardKey[] = "board = ";

// A record far longer than its three lines is not one of ours.
constexpr std::streamsize kLongestLine = 2048;

bool StartsWith(const std::string& line, const char* prefix, std::string& rest)
{
    const std::string start(prefix);
    if (line.compare(0, start.size(), start) != 0)
        return false;
    rest = line.substr(start.size());
    return true;
}

bool ReadScore(const std::string& text, int32_t& score)
{
    if (text.empty())
        return false;
    char* end = nullptr;
    errno = 0;
    const long long value = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || value < 0 || value > INT32_MAX)
        return false;
    score = static_cast<int32_t>(value);
    return true;
}

}  // namespace

BoardBests::BoardBests(std::string path, std::string board)
    : path(std::move(path)), board(std::move(board))
{
    std::ifstream file(this->path, std::ios::binary);
    std::string line, rest;
    if (!std::getline(file, line) || line.size() > kLongestLine ||
        !StartsWith(line, kBoardKey, rest) || rest != this->board)
        return;
    while (std::getline(file, line) && line.size() <= kLongestLine)
        for (int length = 0; length < 2; length++)
            if (StartsWith(line, kKeys[length], rest))
                sent[length] = ReadScore(rest, best[length]);
}

bool BoardBests::TakeIfBest(uint32_t gameLength, int32_t score)
{
    const int length = gameLength == 0 ? 0 : 1;
    if (sent[length] && score <= best[length])
        return false;
    sent[length] = true;
    best[length] = score;
    Write();
    return true;
}

void BoardBests::Write() const
{
    std::string text = kBoardKey + board + "\n";
    for (int length = 0; length < 2; length++)
        if (sent[length])
            text += kKeys[length] + std::to_string(best[length]) + "\n";
    // A record lost costs one run sent again, which the board ranks the same.
    if (!ReplaceFile(path, text.data(), text.size(), Durability::Quick))
        std::fprintf(stderr, "korimo: cannot write %s\n", path.c_str());
}
