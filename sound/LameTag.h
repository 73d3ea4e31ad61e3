#pragma once
// The encoder's info frame at the head of an MP3 stream (the "Xing" or "Info" frame with the
// LAME extension): how many samples the encoder put before and after the sound. A decoder that
// does not trim them by itself uses this to cut the stream to exactly the samples encoded.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

struct EncoderGap {
    size_t frameSamples = 0;  // samples of one frame: the info frame decodes to this much silence
    uint32_t delay = 0;       // samples the encoder put before the sound
    uint32_t padding = 0;     // samples it put after the sound, to fill the last frame
};

// Reads the gap from the stream's first frame. False when that frame is not an info frame
// carrying the encoder's delay and padding (the stream is then taken as it decodes).
bool ReadEncoderGap(std::span<const uint8_t> stream, EncoderGap& gap);

// Every MP3 decoder's output lags its input by this many samples (the synthesis filter bank).
constexpr size_t kMp3DecoderDelay = 529;

// Cuts what a decoder that trims nothing gave (the info frame as a frame of silence, then the
// encoder's delay and the decoder's lag before the sound, the rest of the padding after it;
// channels interleaved) to exactly the samples encoded, as libmpg123 gives them. A padding
// shorter than the decoder's lag leaves the sound's last samples in no frame's output: they
// are silence, so the length is still the one encoded.
void TrimToEncoded(std::vector<int16_t>& pcm, size_t channels, const EncoderGap& gap);
