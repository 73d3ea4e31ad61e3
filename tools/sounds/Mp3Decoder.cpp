#include "tools/sounds/Mp3Decoder.h"

#include <mpg123.h>

#include <memory>

#include "tools/sounds/Score.h"

namespace {

struct HandleCloser {
    void operator()(mpg123_handle* handle) const { mpg123_delete(handle); }
};

}  // namespace

bool DecodeMp3(std::span<const uint8_t> stream, std::vector<int16_t>& pcm, std::string& error)
{
    pcm.clear();
    int result = MPG123_OK;
    std::unique_ptr<mpg123_handle, HandleCloser> handle(mpg123_new(nullptr, &result));
    if (!handle) {
        error =
            std::string("the MP3 decoder could not be started: ") + mpg123_plain_strerror(result);
        return false;
    }
    mpg123_handle* h = handle.get();
    mpg123_param(h, MPG123_FLAGS, MPG123_GAPLESS | MPG123_QUIET, 0.0);
    mpg123_format_none(h);
    mpg123_format(h, kSampleRate, MPG123_MONO, MPG123_ENC_SIGNED_16);
    if (mpg123_open_feed(h) != MPG123_OK ||
        mpg123_feed(h, stream.data(), stream.size()) != MPG123_OK) {
        error = std::string("the MP3 decoder refused the stream: ") + mpg123_strerror(h);
        return false;
    }

    unsigned char block[16384];
    for (;;) {
        size_t done = 0;
        result = mpg123_read(h, block, sizeof block, &done);
        const int16_t* samples = reinterpret_cast<const int16_t*>(block);
        pcm.insert(pcm.end(), samples, samples + done / sizeof(int16_t));
        if (result == MPG123_NEED_MORE || result == MPG123_DONE)
            break;
        if (result != MPG123_OK && result != MPG123_NEW_FORMAT) {
            error =
                std::string("the stream does not decode as mono 22,050 Hz: ") + mpg123_strerror(h);
            return false;
        }
    }
    if (pcm.empty()) {
        error = "the stream holds no sound";
        return false;
    }
    return true;
}
