#pragma once
// MP3 to 16-bit PCM through Windows' audio compression manager, as it decodes: the encoder's
// info frame, delay and padding are left in (sound/win32/Mp3DecoderAcm.cpp trims them). This
// header sees neither Windows' nor the platform layer's types, so both sides can include it.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// The stream's MPEGLAYER3WAVEFORMAT, field for field.
struct AcmMp3Format {
    uint16_t channels;
    uint32_t samplesPerSecond;
    uint32_t averageBytesPerSecond;
    uint16_t id;
    uint32_t flags;
    uint16_t blockSize;
    uint16_t framesPerBlock;
    uint16_t codecDelay;
};

// The whole stream, decoded. False, with fault saying why, when no converter takes it.
bool AcmDecodeMp3(std::span<const uint8_t> stream, const AcmMp3Format& format,
                  std::vector<int16_t>& pcm, std::string& fault);

// The converter's own name and version, "" when none is installed.
std::string AcmMp3ConverterName();
