#pragma once
// What the player's key needs of the system: random bytes from its own source, and a new file
// that only the player may read.

#include <cstddef>
#include <string>

// False when the system's source gave nothing.
bool SystemRandomBytes(unsigned char* bytes, size_t count);
// Creates path with the text, failing when a file of that name exists; a file half written is
// removed again. On Linux the file is the owner's alone (0600); on Windows it inherits the
// player's own folder's protection, which other users cannot read.
bool CreatePrivateFile(const std::string& path, const std::string& text);
