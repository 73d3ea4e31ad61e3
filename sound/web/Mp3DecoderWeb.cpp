// The converter from MP3 to PCM in the browser. The page decodes every clip of the archive
// with the WebAssembly build of libmpg123 before the game starts (web/clips.js), since that
// decoder only starts asynchronously; here a stream is looked up among those results, by
// where it lies in the archive.

#include <emscripten.h>

#include "archive/ResourceArchive.h"
#include "sound/Mp3Decoder.h"
#include "sound/SoundSource.h"
#include "sound/SoundSystem.h"

namespace {

// The number of samples decoded ahead for this stream, or -1 when it was not; a decoding
// that failed leaves its one-line reason in fault.
// clang-format off
EM_JS(int, DecodedSamples, (const uint8_t* stream, size_t size, char* fault, int faultSize), {
    const clip = Module.korimoClips && Module.korimoClips.get(stream + ":" + size);
    if (!clip)
        return -1;
    if (clip.fault) {
        stringToUTF8(clip.fault, fault, faultSize);
        return -1;
    }
    return clip.pcm.length;
});
// clang-format on

// clang-format off
EM_JS(void, CopyDecodedSamples, (const uint8_t* stream, size_t size, int16_t* pcm), {
    HEAP16.set(Module.korimoClips.get(stream + ":" + size).pcm, pcm >> 1);
});
// clang-format on

}  // namespace

bool DecodeMp3(std::span<const uint8_t> stream, const Mp3StreamFormat& format,
               std::vector<int16_t>& pcm, std::string& fault)
{
    char reason[256] = "";
    const int samples = DecodedSamples(stream.data(), stream.size(), reason, sizeof reason);
    if (samples < 0) {
        fault = reason[0] ? reason : "the page did not decode this stream before the game";
        return false;
    }
    if (samples == 0) {
        fault = "no MP3 frame the decoder could read";
        return false;
    }
    pcm.resize(static_cast<size_t>(samples));
    CopyDecodedSamples(stream.data(), stream.size(), pcm.data());
    return true;
}

// For the page, before the game starts: where the stream of clip index lies in the archive
// and its channel count, in out[0..2]. 1 when found, 0 when the clip holds no stream (its
// load then says why), -1 past the last clip.
extern "C" EMSCRIPTEN_KEEPALIVE int korimo_clip_stream(int index, uint32_t* out)
{
    if (index < 0 || index >= static_cast<int>(std::size(kClipNames)))
        return -1;
    SoundSource source(resourceArchive, kClipNames[index]);
    const char* problem = nullptr;
    std::span<const uint8_t> stream = source.Stream(&problem);
    Mp3StreamFormat format;
    if (problem || !DescribeMp3Stream(stream.data(), stream.size(), format, &problem))
        return 0;
    out[0] = reinterpret_cast<uintptr_t>(stream.data());
    out[1] = static_cast<uint32_t>(stream.size());
    out[2] = format.wave.nChannels;
    return 1;
}
