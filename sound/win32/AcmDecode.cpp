#include "AcmDecode.h"

// clang-format off
#include <windows.h>
#include <mmreg.h>
#include <msacm.h>
// clang-format on

#include <algorithm>
#include <memory>

namespace {

struct StreamCloser {
    void operator()(HACMSTREAM__* stream) const { acmStreamClose(stream, 0); }
};
using Converter = std::unique_ptr<HACMSTREAM__, StreamCloser>;

std::string Failed(const char* what, MMRESULT result)
{
    return std::string(what) + " (audio compression manager error " + std::to_string(result) + ")";
}

// Feeds the converter one piece of the stream and appends what comes out. The end flag lets it
// give out what it still holds.
bool ConvertPiece(HACMSTREAM stream, const uint8_t* piece, DWORD size, bool end,
                  std::vector<int16_t>& pcm, DWORD& used, std::string& fault)
{
    DWORD outSize = 0;
    MMRESULT result = acmStreamSize(stream, size ? size : 1, &outSize, ACM_STREAMSIZEF_SOURCE);
    if (result != MMSYSERR_NOERROR) {
        fault = Failed("cannot size the MP3 converter's output", result);
        return false;
    }
    // The converter may hold samples back from earlier pieces: room for a few frames more.
    outSize += 8 * 1152 * sizeof(int16_t) * 2;
    std::vector<uint8_t> input(piece, piece + size);
    std::vector<uint8_t> output(outSize);
    ACMSTREAMHEADER header = {};
    header.cbStruct = sizeof header;
    header.pbSrc = input.empty() ? nullptr : input.data();
    header.cbSrcLength = size;
    header.pbDst = output.data();
    header.cbDstLength = outSize;
    if (input.empty()) {
        static uint8_t nothing = 0;
        header.pbSrc = &nothing;
    }
    result = acmStreamPrepareHeader(stream, &header, 0);
    if (result != MMSYSERR_NOERROR) {
        fault = Failed("cannot prepare the MP3 converter", result);
        return false;
    }
    result = acmStreamConvert(stream, &header,
                              end ? ACM_STREAMCONVERTF_END : ACM_STREAMCONVERTF_BLOCKALIGN);
    used = header.cbSrcLengthUsed;
    const DWORD made = header.cbDstLengthUsed;
    acmStreamUnprepareHeader(stream, &header, 0);
    if (result != MMSYSERR_NOERROR) {
        fault = Failed("the MP3 converter rejected the stream", result);
        return false;
    }
    const auto* samples = reinterpret_cast<const int16_t*>(output.data());
    pcm.insert(pcm.end(), samples, samples + made / sizeof(int16_t));
    return true;
}

}  // namespace

bool AcmDecodeMp3(std::span<const uint8_t> stream, const AcmMp3Format& format,
                  std::vector<int16_t>& pcm, std::string& fault)
{
    pcm.clear();
    MPEGLAYER3WAVEFORMAT source = {};
    source.wfx.wFormatTag = WAVE_FORMAT_MPEGLAYER3;
    source.wfx.nChannels = format.channels;
    source.wfx.nSamplesPerSec = format.samplesPerSecond;
    source.wfx.nAvgBytesPerSec = format.averageBytesPerSecond;
    source.wfx.nBlockAlign = 1;
    source.wfx.wBitsPerSample = 0;
    source.wfx.cbSize = MPEGLAYER3_WFX_EXTRA_BYTES;
    source.wID = format.id;
    source.fdwFlags = format.flags;
    source.nBlockSize = format.blockSize;
    source.nFramesPerBlock = format.framesPerBlock;
    source.nCodecDelay = format.codecDelay;

    WAVEFORMATEX target = {};
    target.wFormatTag = WAVE_FORMAT_PCM;
    target.nChannels = format.channels;
    target.nSamplesPerSec = format.samplesPerSecond;
    target.wBitsPerSample = 16;
    target.nBlockAlign = static_cast<WORD>(format.channels * 2);
    target.nAvgBytesPerSec = target.nSamplesPerSec * target.nBlockAlign;

    HACMSTREAM opened = nullptr;
    const MMRESULT result = acmStreamOpen(&opened, nullptr, &source.wfx, &target, nullptr, 0, 0,
                                          ACM_STREAMOPENF_NONREALTIME);
    if (result != MMSYSERR_NOERROR) {
        fault = Failed("no MP3 converter takes the stream", result);
        return false;
    }
    Converter converter(opened);

    // Pieces of a bounded size keep the converter's buffers small whatever the clip's length.
    constexpr size_t kPiece = 64 * 1024;
    size_t at = 0;
    while (at < stream.size()) {
        const DWORD size = static_cast<DWORD>(std::min(kPiece, stream.size() - at));
        DWORD used = 0;
        if (!ConvertPiece(converter.get(), stream.data() + at, size, false, pcm, used, fault))
            return false;
        if (used == 0)
            break;  // what is left is less than a frame
        at += used;
    }
    DWORD used = 0;
    if (!ConvertPiece(converter.get(), stream.data() + at, static_cast<DWORD>(stream.size() - at),
                      true, pcm, used, fault))
        return false;
    if (pcm.empty()) {
        fault = "no MP3 frame the converter could read";
        return false;
    }
    return true;
}

std::string AcmMp3ConverterName()
{
    // The converter that takes MPEG Layer III: the first driver that names that format tag.
    struct Search {
        std::string name;
    } search;
    acmDriverEnum(
        [](HACMDRIVERID driver, DWORD_PTR context, DWORD) -> BOOL {
            ACMDRIVERDETAILSA details = {};
            details.cbStruct = sizeof details;
            if (acmDriverDetailsA(driver, &details, 0) != MMSYSERR_NOERROR)
                return TRUE;
            ACMFORMATTAGDETAILSA tag = {};
            tag.cbStruct = sizeof tag;
            tag.dwFormatTag = WAVE_FORMAT_MPEGLAYER3;
            HACMDRIVER open = nullptr;
            if (acmDriverOpen(&open, driver, 0) != MMSYSERR_NOERROR)
                return TRUE;
            const bool mp3 = acmFormatTagDetailsA(open, &tag, ACM_FORMATTAGDETAILSF_FORMATTAG) ==
                             MMSYSERR_NOERROR;
            acmDriverClose(open, 0);
            if (!mp3)
                return TRUE;
            reinterpret_cast<Search*>(context)->name = details.szLongName;
            return FALSE;
        },
        reinterpret_cast<DWORD_PTR>(&search), 0);
    return search.name;
}
