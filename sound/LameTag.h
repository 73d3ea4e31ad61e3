#pragma once
// The encoder's info frame at the head of an MP3 stream (the "Xing" or "Info" frame with the
// LAME extension): how many samples the encoder put before and after the sound. A decoder that
// does not trim them by itself uses this to cut the stream to exactly the samples encoded.

#include <cstddef>
#include <cstdint>
#include <span>

struct EncoderGap {
    size_t frameSamples = 0;  // samples of one frame: the info frame decodes to this much silence
    uint32_t delay = 0;       // samples the encoder put before the sound
    uint32_t padding = 0;     // samples it put after the sound, to fill the last frame
};

// Reads the gap from the stream's first frame. False when that frame is not an info frame
// carrying the encoder's delay and padding (the stream is then taken as it decodes).
bool ReadEncoderGap(std::span<const uint8_t> stream, EncoderGap& gap);
