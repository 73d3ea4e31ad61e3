#include "tools/sounds/Mp3Encoder.h"

#include <lame/lame.h>

#include <cstring>
#include <memory>

#include "tools/sounds/Score.h"

namespace {

constexpr int kBitRate = 64;  // the lowest rate at which LAME writes its info frame at 22,050 Hz

struct LameCloser {
    void operator()(lame_global_flags* flags) const { lame_close(flags); }
};

}  // namespace

bool EncodeMp3(std::span<const int16_t> pcm, std::vector<uint8_t>& stream, std::string& error)
{
    std::unique_ptr<lame_global_flags, LameCloser> flags(lame_init());
    if (!flags) {
        error = "the MP3 encoder could not be started";
        return false;
    }
    lame_global_flags* gf = flags.get();
    lame_set_num_channels(gf, 1);
    lame_set_in_samplerate(gf, kSampleRate);
    lame_set_out_samplerate(gf, kSampleRate);
    lame_set_mode(gf, MONO);
    lame_set_VBR(gf, vbr_off);
    lame_set_brate(gf, kBitRate);
    lame_set_quality(gf, 2);
    lame_set_bWriteVbrTag(gf, 1);
    lame_set_write_id3tag_automatic(gf, 0);
    if (lame_init_params(gf) < 0) {
        error = "the MP3 encoder refused mono 22,050 Hz at 64 kbit/s";
        return false;
    }

    // LAME's own bound for one call's output: 1.25 times the samples plus 7,200 bytes.
    stream.assign(pcm.size() + pcm.size() / 4 + 7200 + 2 * 7200, 0);
    int written = lame_encode_buffer(gf, const_cast<int16_t*>(pcm.data()), nullptr,
                                     static_cast<int>(pcm.size()), stream.data(),
                                     static_cast<int>(stream.size()));
    if (written < 0) {
        error = "the MP3 encoder failed (" + std::to_string(written) + ")";
        return false;
    }
    int flushed =
        lame_encode_flush(gf, stream.data() + written, static_cast<int>(stream.size()) - written);
    if (flushed < 0) {
        error = "the MP3 encoder failed to flush (" + std::to_string(flushed) + ")";
        return false;
    }
    stream.resize(static_cast<size_t>(written + flushed));

    // The encoder kept the first frame free for its info frame, which it can only fill in now
    // that it knows the stream's length, delay and padding.
    uint8_t tag[2880];
    size_t tagSize = lame_get_lametag_frame(gf, tag, sizeof tag);
    if (tagSize == 0 || tagSize > stream.size()) {
        error = "the MP3 encoder wrote no info frame";
        return false;
    }
    std::memcpy(stream.data(), tag, tagSize);
    return true;
}
