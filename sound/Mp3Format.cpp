#include "sound/Mp3Format.h"

namespace {

// Layer III bitrates in kbit/s by bitrate index; 0 stands for "free" (index 0) and "bad"
// (index 15).
constexpr uint16_t kMpeg1Bitrates[16] = {0,   32,  40,  48,  56,  64,  80,  96,
                                         112, 128, 160, 192, 224, 256, 320, 0};
constexpr uint16_t kMpeg2Bitrates[16] = {0,  8,  16, 24,  32,  40,  48,  56,
                                         64, 80, 96, 112, 128, 144, 160, 0};

// Sampling rates by index; index 3 is reserved.
constexpr uint32_t kMpeg1Rates[4] = {44100, 48000, 32000, 0};
constexpr uint32_t kMpeg2Rates[4] = {22050, 24000, 16000, 0};

constexpr unsigned kSingleChannelMode = 3;

}  // namespace

bool DescribeMp3Stream(const uint8_t* stream, size_t length, Mp3StreamFormat& format,
                       const char** fault)
{
    // Eleven set bits of frame sync open every frame.
    if (length < 4 || stream[0] != 0xFF || (stream[1] & 0xE0) != 0xE0) {
        *fault = "no MPEG audio frame header at the start of the stream";
        return false;
    }
    uint8_t h1 = stream[1], h2 = stream[2], h3 = stream[3];
    bool mpeg1 = (h1 & 0x08) != 0;
    // Tables picked through pointers: GCC 12's bounds sanitizer miscompiles indexing the
    // conditional expression (cond ? a : b)[i] directly.
    const uint16_t* bitrates = mpeg1 ? kMpeg1Bitrates : kMpeg2Bitrates;
    const uint32_t* rates = mpeg1 ? kMpeg1Rates : kMpeg2Rates;
    uint32_t kbps = bitrates[h2 >> 4];
    uint32_t rate = rates[(h2 >> 2) & 3];
    if (rate == 0) {
        *fault = "its frame header names the reserved sampling-rate index";
        return false;
    }
    WORD channels = (h3 >> 6) == kSingleChannelMode ? 1 : 2;

    format.wave.wFormatTag = WAVE_FORMAT_MPEGLAYER3;
    format.wave.nChannels = channels;
    format.wave.nSamplesPerSec = rate;
    format.wave.nAvgBytesPerSec = kbps * 1000 / 8;
    format.wave.nBlockAlign = 1;
    format.wave.wBitsPerSample = 0;
    format.wave.cbSize = kMp3ExtraSize;
    format.id = MPEGLAYER3_ID_MPEG;
    format.flags = MPEGLAYER3_FLAG_PADDING_OFF;
    format.blockSize = static_cast<WORD>(kbps * 144000 / rate);
    format.framesPerBlock = 1;
    format.codecDelay = kMp3CodecDelay;
    return true;
}
