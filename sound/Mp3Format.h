#pragma once
// The description of an MP3 stream that the decoder is given, read from the stream's first
// frame header, with the values the platform's audio converters expect for MPEG Layer III.

#include <cstddef>
#include <cstdint>

#include "platform/Audio.h"

constexpr WORD WAVE_FORMAT_MPEGLAYER3 = 0x55;
constexpr WORD MPEGLAYER3_ID_MPEG = 1;
constexpr DWORD MPEGLAYER3_FLAG_PADDING_OFF = 2;
constexpr WORD kMp3CodecDelay = 1393;  // samples, the converters' customary figure
constexpr WORD kMp3ExtraSize = 12;  // the bytes that follow the wave format in MPEGLAYER3WAVEFORMAT

struct Mp3StreamFormat {
    WAVEFORMATEX wave;    // tag WAVE_FORMAT_MPEGLAYER3; channels, rate, average bytes per second
    WORD id;              // MPEGLAYER3_ID_MPEG
    DWORD flags;          // MPEGLAYER3_FLAG_PADDING_OFF
    WORD blockSize;       // kbit/s * 144000 / rate
    WORD framesPerBlock;  // 1
    WORD codecDelay;      // kMp3CodecDelay
};

// Describes the stream from its first four bytes. False, with fault saying why, when they are
// no MPEG audio frame header or name the reserved sampling rate. The version, bitrate, rate
// and mode are taken as the header gives them; the layer is not looked at.
bool DescribeMp3Stream(const uint8_t* stream, size_t length, Mp3StreamFormat& format,
                       const char** fault);
