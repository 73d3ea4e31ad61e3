#include "sound/Mp3Decoder.h"

#include <mpg123.h>

#include <memory>

namespace {

struct HandleDeleter {
    void operator()(mpg123_handle* handle) const { mpg123_delete(handle); }
};
using Decoder = std::unique_ptr<mpg123_handle, HandleDeleter>;

// A decoder in feed mode that gives exactly the format described, or null with fault set.
Decoder OpenDecoder(const Mp3StreamFormat& format, std::string& fault)
{
    // Needed once by libmpg123 before 1.27, harmless after.
    static const int initialised = mpg123_init();
    int error = initialised;
    Decoder decoder(error == MPG123_OK ? mpg123_new(nullptr, &error) : nullptr);
    if (!decoder) {
        fault = std::string("cannot start the MP3 decoder: ") + mpg123_plain_strerror(error);
        return nullptr;
    }
    mpg123_handle* handle = decoder.get();
    int encoding = MPG123_ENC_SIGNED_16;
    int channels = format.wave.nChannels == 1 ? MPG123_MONO : MPG123_STEREO;
    // Only the described format is allowed out, so libmpg123 neither resamples nor mixes down.
    if (mpg123_param(handle, MPG123_FLAGS, MPG123_GAPLESS | MPG123_QUIET, 0) != MPG123_OK ||
        mpg123_format_none(handle) != MPG123_OK ||
        mpg123_format(handle, format.wave.nSamplesPerSec, channels, encoding) != MPG123_OK ||
        mpg123_open_feed(handle) != MPG123_OK) {
        fault = std::string("cannot set up the MP3 decoder: ") + mpg123_strerror(handle);
        return nullptr;
    }
    return decoder;
}

// The most samples a stream of this many bytes can decode to: the smallest MPEG audio frame
// (8 kbit/s at 24 kHz) takes 24 bytes, and no frame holds more than 1,152 samples.
size_t MostSamples(size_t streamBytes)
{
    return (streamBytes / 24 + 1) * 1152;
}

}  // namespace

bool DecodeMp3(std::span<const uint8_t> stream, const Mp3StreamFormat& format,
               std::vector<int16_t>& pcm, std::string& fault)
{
    pcm.clear();
    Decoder decoder = OpenDecoder(format, fault);
    if (!decoder)
        return false;
    mpg123_handle* handle = decoder.get();
    if (mpg123_feed(handle, stream.data(), stream.size()) != MPG123_OK) {
        fault = std::string("the MP3 decoder refused the stream: ") + mpg123_strerror(handle);
        return false;
    }

    int16_t block[8192];
    for (;;) {
        size_t bytes = 0;
        int result = mpg123_read(handle, block, sizeof block, &bytes);
        pcm.insert(pcm.end(), block, block + bytes / sizeof(int16_t));
        if (result == MPG123_NEW_FORMAT) {
            // The encoder's info tag tells the length up front, so that one allocation
            // suffices. It is only a claim, though: believed no further than the stream could
            // hold.
            off_t samples = mpg123_length(handle);
            if (samples > 0 && static_cast<size_t>(samples) <= MostSamples(stream.size()))
                pcm.reserve(static_cast<size_t>(samples) * format.wave.nChannels);
        } else if (result == MPG123_NEED_MORE || result == MPG123_DONE) {
            break;  // the whole stream was fed: what is left is an incomplete frame at most
        } else if (result != MPG123_OK) {
            fault = std::string("the MP3 decoder rejected the stream: ") + mpg123_strerror(handle);
            return false;
        }
    }
    if (pcm.empty()) {
        fault = "no MP3 frame the decoder could read";
        return false;
    }
    return true;
}
