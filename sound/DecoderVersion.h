#pragma once
// The version of the MP3 decoder, for --version.

#include <string>

// "libmpg123 x.y.z": the library's own word when it can say (libmpg123 1.32 and later),
// otherwise the version the game was built against.
std::string DecoderVersionText();
