#pragma once
// Sounds made on the spot for the sound tests: signals, their MP3 encoding as the game's assets
// are encoded, RIFF wrapping, and small archives to load them from.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

using Bytes = std::vector<uint8_t>;

// Two tones a fifth and a bit apart, so that no shift of the signal matches itself.
std::vector<int16_t> TwoTones(size_t samples, int amplitude);

// MPEG-2 Layer III, mono, 22,050 Hz, 64 kbit/s, with the encoder's info frame first, which
// lets the decoder cut the encoder's delay and padding off.
Bytes EncodeMp3(const std::vector<int16_t>& pcm);

// A chunk of a RIFF file: id, little-endian size, data, and a pad byte when the size is odd
// (unless padded is false).
Bytes Chunk(const char* id, const Bytes& data, bool padded = true);
Bytes Chunk(const char* id, uint32_t declaredSize, const Bytes& data);
// "RIFF", the size, "WAVE", then the chunks.
Bytes Riff(const std::vector<Bytes>& chunks);

// Writes base.set / base.dat holding the entries in this order.
void WriteArchive(const std::string& base, const std::vector<std::pair<std::string, Bytes>>& entries);
