// Arbitrary stored sounds: finding the stream (the RIFF chunk walk), reading its first frame
// header and decoding it must stay inside the entry and end, whatever the sizes and headers
// claim.
//
// Input: the entry's bytes, a bare MP3 stream or a RIFF/WAVE file.

#include <cstdint>
#include <string>
#include <vector>

#include "sound/ClipDecoder.h"
#include "sound/SoundSource.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Longer inputs add nothing to the header reading and only slow the decoder down.
    if (size > 1 << 16)
        return 0;
    // libFuzzer's copy of the input ends exactly where the entry does, so a read past the
    // entry is caught.
    SoundSource source(data, static_cast<uint32_t>(size));
    source.FindChunk("fmt ");
    source.StreamLength();
    std::vector<int16_t> pcm;
    std::string fault;
    DecodeClip(source, pcm, fault);
    return 0;
}
