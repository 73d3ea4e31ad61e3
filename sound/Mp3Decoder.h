#pragma once
// The converter from MP3 to PCM: decodes a whole stream in one call.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "sound/Mp3Format.h"

// Decodes the stream to 16-bit PCM at the rate and channel count the format names (the
// stream's own), interleaved. When the first frame carries the encoder's info tag, the
// encoder's delay and padding are cut off, so the samples are exactly the ones encoded.
// False, with fault saying why, when the decoder rejects the stream or finds no sound in it.
bool DecodeMp3(std::span<const uint8_t> stream, const Mp3StreamFormat& format,
               std::vector<int16_t>& pcm, std::string& fault);
