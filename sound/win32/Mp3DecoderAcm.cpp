// MP3 through Windows' audio compression manager, cut to the samples libmpg123 gives on the
// other systems: the converter decodes the encoder's info frame as a frame of silence and keeps
// the encoder's delay and padding, which the info frame names.

#include "AcmDecode.h"
#include "sound/LameTag.h"
#include "sound/Mp3Decoder.h"

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
        TrimToEncoded(pcm, format.wave.nChannels ? format.wave.nChannels : 1, gap);
    if (pcm.empty()) {
        fault = "no MP3 frame the converter could read";
        return false;
    }
    return true;
}
