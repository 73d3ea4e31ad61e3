#pragma once
// Encodes 16-bit mono PCM at kSampleRate as the game stores its sounds: MPEG-2 Layer III,
// single channel, 64 kbit/s constant bit rate, no ID3 tag, and the encoder's info frame
// (which tells a gapless decoder the encoder's delay and padding) in place of the first frame.
// A decoder that honours it gives back exactly as many samples as went in.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// False on a fault, with error saying what went wrong.
bool EncodeMp3(std::span<const int16_t> pcm, std::vector<uint8_t>& stream, std::string& error);
