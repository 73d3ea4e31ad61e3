#pragma once
// Decodes a whole MP3 stream to 16-bit mono PCM with libmpg123, fed from memory and gapless
// (the encoder's delay and padding are trimmed as its info frame says), the way the game
// itself turns its clips into PCM. Used to check what the encoder made.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// False when the stream does not decode as mono at 22,050 Hz, with error saying why.
bool DecodeMp3(std::span<const uint8_t> stream, std::vector<int16_t>& pcm, std::string& error);
