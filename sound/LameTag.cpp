#include "sound/LameTag.h"

#include <algorithm>
#include <cstring>

namespace {

bool HasText(std::span<const uint8_t> stream, size_t at, const char* text)
{
    const size_t length = std::strlen(text);
    return at + length <= stream.size() && std::memcmp(stream.data() + at, text, length) == 0;
}

uint32_t BigEndian32(std::span<const uint8_t> stream, size_t at)
{
    return uint32_t{stream[at]} << 24 | uint32_t{stream[at + 1]} << 16 |
           uint32_t{stream[at + 2]} << 8 | stream[at + 3];
}

}  // namespace

bool ReadEncoderGap(std::span<const uint8_t> stream, EncoderGap& gap)
{
    if (stream.size() < 4 || stream[0] != 0xFF || (stream[1] & 0xE0) != 0xE0)
        return false;
    const int version = (stream[1] >> 3) & 3;  // 3: MPEG-1, 2: MPEG-2, 0: MPEG-2.5
    const int layer = (stream[1] >> 1) & 3;    // 1: Layer III
    if (version == 1 || layer != 1)
        return false;
    const bool mpeg1 = version == 3;
    const bool mono = (stream[3] >> 6) == 3;
    const bool crc = (stream[1] & 1) == 0;
    // The info tag follows the header, its checksum and the frame's side information.
    const size_t sideInformation = mpeg1 ? (mono ? 17 : 32) : (mono ? 9 : 17);
    const size_t tag = 4 + (crc ? 2 : 0) + sideInformation;
    if (!HasText(stream, tag, "Xing") && !HasText(stream, tag, "Info"))
        return false;
    if (tag + 8 > stream.size())
        return false;
    // Each flag says that a field is present: frames (4 bytes), bytes (4), table (100),
    // quality (4); the encoder's extension follows them.
    const uint32_t flags = BigEndian32(stream, tag + 4);
    size_t encoder = tag + 8;
    encoder +=
        (flags & 1 ? 4 : 0) + (flags & 2 ? 4 : 0) + (flags & 4 ? 100 : 0) + (flags & 8 ? 4 : 0);
    // The delay and the padding, 12 bits each, 21 bytes into the extension.
    const size_t gapAt = encoder + 21;
    if (!HasText(stream, encoder, "LAME") && !HasText(stream, encoder, "Lavc") &&
        !HasText(stream, encoder, "Lavf"))
        return false;
    if (gapAt + 3 > stream.size())
        return false;
    gap.frameSamples = mpeg1 ? 1152 : 576;
    gap.delay = uint32_t{stream[gapAt]} << 4 | stream[gapAt + 1] >> 4;
    gap.padding = uint32_t{stream[gapAt + 1] & 0x0Fu} << 8 | stream[gapAt + 2];
    return true;
}

void TrimToEncoded(std::vector<int16_t>& pcm, size_t channels, const EncoderGap& gap)
{
    const size_t decoded = pcm.size() / channels;
    const size_t removed = gap.frameSamples + gap.delay + gap.padding;
    const size_t encoded = decoded > removed ? decoded - removed : 0;
    const size_t first = std::min(decoded, gap.frameSamples + gap.delay + kMp3DecoderDelay);
    std::vector<int16_t> kept(encoded * channels, 0);
    const size_t available = std::min(encoded, decoded - first);
    std::copy_n(pcm.begin() + static_cast<std::ptrdiff_t>(first * channels), available * channels,
                kept.begin());
    pcm.swap(kept);
}
