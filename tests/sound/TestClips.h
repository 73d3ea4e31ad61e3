#pragma once
// Sounds made on the spot for the sound tests: a signal, its MP3 encoding as the game's assets
// are encoded, and RIFF wrapping.

#include <lame/lame.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "tests/archive/TestFiles.h"

namespace testfiles {

// Two tones a fifth and a bit apart, so that no shift of the signal matches itself.
inline std::vector<int16_t> TwoTones(size_t samples, int amplitude)
{
    std::vector<int16_t> pcm(samples);
    for (size_t i = 0; i < samples; i++) {
        double t = static_cast<double>(i) / 22050;
        double value = 0.6 * std::sin(2 * M_PI * 330 * t) + 0.4 * std::sin(2 * M_PI * 523 * t);
        pcm[i] = static_cast<int16_t>(std::lround(amplitude * value));
    }
    return pcm;
}

// MPEG-2 Layer III, mono, 22,050 Hz, 64 kbit/s, with the encoder's info frame first, which
// lets the decoder cut the encoder's delay and padding off.
inline Bytes EncodeMp3(const std::vector<int16_t>& pcm)
{
    lame_global_flags* lame = lame_init();
    lame_set_in_samplerate(lame, 22050);
    lame_set_out_samplerate(lame, 22050);
    lame_set_num_channels(lame, 1);
    lame_set_mode(lame, MONO);
    lame_set_brate(lame, 64);
    lame_set_bWriteVbrTag(lame, 1);
    lame_set_write_id3tag_automatic(lame, 0);
    lame_init_params(lame);
    Bytes mp3(pcm.size() * 5 / 4 + 7200);
    int size = static_cast<int>(mp3.size());
    int written = lame_encode_buffer(lame, const_cast<short*>(pcm.data()), nullptr,
                                     static_cast<int>(pcm.size()), mp3.data(), size);
    written += lame_encode_flush(lame, mp3.data() + written, size - written);
    mp3.resize(written);
    // The info frame can only be filled in once the whole stream is known.
    unsigned char tag[2880];
    size_t tagSize = lame_get_lametag_frame(lame, tag, sizeof tag);
    std::memcpy(mp3.data(), tag, std::min(tagSize, mp3.size()));
    lame_close(lame);
    return mp3;
}

// A RIFF chunk: id, the declared size, the data and, when the size is odd and padded is
// true, a pad byte.
inline Bytes Chunk(const char* id, const Bytes& data, bool padded = true, uint32_t declaredSize = 0)
{
    Bytes chunk(id, id + 4);
    chunk.resize(8);
    PutLE(chunk, 4, declaredSize ? declaredSize : static_cast<uint32_t>(data.size()), 4);
    chunk.insert(chunk.end(), data.begin(), data.end());
    if (padded && data.size() % 2)
        chunk.push_back(0);
    return chunk;
}

// "RIFF", the size, "WAVE", then the chunks.
inline Bytes Riff(const std::vector<Bytes>& chunks)
{
    Bytes riff = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};
    for (const Bytes& chunk : chunks)
        riff.insert(riff.end(), chunk.begin(), chunk.end());
    PutLE(riff, 4, static_cast<uint32_t>(riff.size() - 8), 4);
    return riff;
}

}  // namespace testfiles
