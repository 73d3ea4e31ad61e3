#include "app/PlayerName.h"

#include <algorithm>
#include <cstdlib>

namespace {

bool NameCharacter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ' ' ||
           c == '-' || c == '_' || c == '.';
}

std::string_view Trimmed(std::string_view text)
{
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

std::optional<std::string> PlayerNameFrom(std::string_view text)
{
    const std::string_view name = Trimmed(text);
    if (name.empty() || name.size() > kLongestPlayerName ||
        !std::all_of(name.begin(), name.end(), NameCharacter))
        return std::nullopt;
    return std::string(name);
}

std::string DefaultPlayerName()
{
    std::string name;
    for (const char* variable : {"USER", "LOGNAME", "USERNAME"}) {
        const char* login = std::getenv(variable);
        if (!login)
            continue;
        for (const char* c = login; *c && name.size() < kLongestPlayerName; c++) {
            if (NameCharacter(*c))
                name += *c;
        }
        if (const auto usable = PlayerNameFrom(name))
            return *usable;
        name.clear();
    }
    return "PLAYER";
}
