#include "sound/ClipDecoder.h"

#include "sound/Mp3Decoder.h"
#include "sound/Mp3Format.h"

bool DecodeClip(SoundSource& source, std::vector<int16_t>& pcm, std::string& fault)
{
    const char* problem = nullptr;
    std::span<const uint8_t> stream = source.Stream(&problem);
    Mp3StreamFormat format;
    if (problem || !DescribeMp3Stream(stream.data(), stream.size(), format, &problem)) {
        fault = problem;
        return false;
    }
    return DecodeMp3(stream, format, pcm, fault);
}
