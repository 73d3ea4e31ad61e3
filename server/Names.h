#pragma once
// What a player sends about themselves: the name shown on the board and the key that owns it.

#include <optional>
#include <string>
#include <string_view>

namespace board {

// The name trimmed of spaces, or nothing when it is not 1 to 16 letters, digits, spaces, '-',
// '_' or '.' (ASCII only, so that two names that look alike are the same bytes).
std::optional<std::string> CleanName(std::string_view raw);

// A player key is 64 hexadecimal digits: 32 random bytes the game made once.
bool IsPlayerKey(std::string_view key);

// Text made safe to stand between HTML tags or in an attribute's quotes.
std::string EscapeHtml(std::string_view text);

// The SHA-256 of the bytes as 64 lowercase hexadecimal digits.
std::string Sha256Hex(std::string_view bytes);

}  // namespace board
