#pragma once
// The name a player's runs carry on a board: 1 to 16 letters, digits, spaces, '-', '_' and
// '.', without spaces at either end. The board refuses anything else, so the game does too.

#include <optional>
#include <string>
#include <string_view>

constexpr size_t kLongestPlayerName = 16;

// The name as it is kept (trimmed), or nothing when it cannot be one.
std::optional<std::string> PlayerNameFrom(std::string_view text);

// A name from the login name: its characters a name may hold, at most 16, or "PLAYER".
std::string DefaultPlayerName();
