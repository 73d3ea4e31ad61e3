#include "tests/sound/TestClips.h"

#include <lame/lame.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>

#include "archive/ArchiveFormat.h"

namespace {

void AppendLittleEndian32(Bytes& bytes, uint32_t value)
{
    for (int i = 0; i < 4; i++)
        bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

}  // namespace

std::vector<int16_t> TwoTones(size_t samples, int amplitude)
{
    std::vector<int16_t> pcm(samples);
    for (size_t i = 0; i < samples; i++) {
        double t = static_cast<double>(i) / 22050;
        double value = 0.6 * std::sin(2 * M_PI * 330 * t) + 0.4 * std::sin(2 * M_PI * 523 * t);
        pcm[i] = static_cast<int16_t>(std::lround(amplitude * value));
    }
    return pcm;
}

Bytes EncodeMp3(const std::vector<int16_t>& pcm)
{
    lame_global_flags* lame = lame_init();
    lame_set_in_samplerate(lame, 22050);
    lame_set_out_samplerate(lame, 22050);
    lame_set_num_channels(lame, 1);
    lame_set_mode(lame, MONO);
    lame_set_VBR(lame, vbr_off);
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

    // The encoder keeps the first frame free for its info frame, which it can only fill in
    // once it has seen the whole stream.
    unsigned char tag[2880];
    size_t tagSize = lame_get_lametag_frame(lame, tag, sizeof tag);
    std::memcpy(mp3.data(), tag, std::min(tagSize, mp3.size()));
    lame_close(lame);
    return mp3;
}

Bytes Chunk(const char* id, uint32_t declaredSize, const Bytes& data)
{
    Bytes chunk(id, id + 4);
    AppendLittleEndian32(chunk, declaredSize);
    chunk.insert(chunk.end(), data.begin(), data.end());
    return chunk;
}

Bytes Chunk(const char* id, const Bytes& data, bool padded)
{
    Bytes chunk = Chunk(id, static_cast<uint32_t>(data.size()), data);
    if (padded && data.size() % 2)
        chunk.push_back(0);
    return chunk;
}

Bytes Riff(const std::vector<Bytes>& chunks)
{
    Bytes body = {'W', 'A', 'V', 'E'};
    for (const Bytes& chunk : chunks)
        body.insert(body.end(), chunk.begin(), chunk.end());
    Bytes riff = {'R', 'I', 'F', 'F'};
    AppendLittleEndian32(riff, static_cast<uint32_t>(body.size()));
    riff.insert(riff.end(), body.begin(), body.end());
    return riff;
}

void WriteArchive(const std::string& base, const std::vector<std::pair<std::string, Bytes>>& entries)
{
    std::ofstream index(base + ".set", std::ios::binary | std::ios::trunc);
    std::ofstream data(base + ".dat", std::ios::binary | std::ios::trunc);
    uint32_t offset = 0;
    for (const auto& [name, bytes] : entries) {
        char record[kArchiveRecordSize] = {};
        std::strncpy(record, name.c_str(), kArchiveNameSize - 1);
        for (int i = 0; i < 4; i++)
            record[kArchiveNameSize + i] = static_cast<char>(offset >> (8 * i));
        index.write(record, sizeof record);
        data.write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        offset += static_cast<uint32_t>(bytes.size());
    }
}
