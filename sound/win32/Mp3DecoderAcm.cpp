// MP3 through Windows' audio compression manager, cut to the samples libmpg123 gives on the
// other systems: the converter decodes the encoder's info frame as a frame of silence and keeps
// the encoder's delay and padding, which the info frame names.

#include <algorithm>

#include "AcmDecode.h"
#include "sound/LameTag.h"
#include "sound/Mp3Decoder.h"

namespace {

// Every MP3 decoder's output lags its input by this many samples (the synthesis filter bank);
// libmpg123 trims it with the encoder's delay, so the first sample is the first one encoded.
constexpr size_t kDecoderDelay = 529;

// Cuts the decoded samples to the encoded ones. Where the converter gave fewer samples than the
// stream holds, the missing end is silence, so the length is always the encoded one.
void TrimToEncoded(std::vector<int16_t>& pcm, size_t channels, const EncoderGap& gap)
{
    const size_t decoded = pcm.size() / channels;
    const size_t removed = gap.frameSamples + gap.delay + gap.padding;
    const size_t encoded = decoded > removed ? decoded - removed : 0;
    const size_t first = std::min(decoded, gap.frameSamples + gap.delay + kDecoderDelay);
    std::vector<int16_t> kept(encoded * channels, 0);
    const size_t available = std::min(encoded, decoded - first);
    std::copy_n(pcm.begin() + static_cast<std::ptrdiff_t>(first * channels), available * channels,
                kept.begin());
    pcm.swap(kept);
}

}  // namespace

bool DecodeMp3(std::span<const uint8_t> stream, const Mp3StreamFormat& format,
               std::vector<int16_t>& pcm, std::string& fault)
{
    const AcmMp3Format acmFormat = {format.wave.nChannels,
                                    format.wave.nSamplesPerSec,
                                    format.wave.nAvgBytesPerSec,
                                    format.id,
                                    format.flags,
                                    format.blockSize,
                                    format.framesPerBlock,
                                    format.codecDelay};
    if (!AcmDecodeMp3(stream, acmFormat, pcm, fault))
        return false;
    EncoderGap gap;
    if (ReadEncoderGap(stream, gap))
        TrimToEncoded(pcm, std::max<size_t>(1, format.wave.nChannels), gap);
    if (pcm.empty()) {
        fault = "no MP3 frame the converter could read";
        return false;
    }
    return true;
}
