#include "AcmDecode.h"
#include "sound/DecoderVersion.h"

std::string DecoderVersionText()
{
    const std::string name = AcmMp3ConverterName();
    return "audio compression manager: " + (name.empty() ? std::string("no MP3 converter") : name);
}
