#pragma once
// The player's key: 32 random bytes in hex, made once and kept in "board.key" in the player's
// folder, readable by the player alone. A board binds each name to the first key that used it.

#include <string>

// The key in the file, made and written there first if there is none; empty when neither
// works (the file is unreadable, damaged or cannot be written).
std::string PlayerKeyIn(const std::string& path);
