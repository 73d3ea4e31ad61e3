// Arbitrary index and data bytes: constructing the archive, opening entries and reading well
// past their ends must stay inside the two spans whatever the index says.
//
// Input: a 2-byte little-endian length of the index, the index bytes, then the data bytes.

#include <cstdint>
#include <cstring>
#include <vector>

#include "archive/ArchiveFormat.h"
#include "archive/ResourceArchive.h"

namespace {

void ReadWholeEntry(ResourceArchive& archive, uint32_t extra)
{
    static unsigned char buffer[1 << 16];
    uint32_t count = archive.entrySize + extra;
    if (count > sizeof buffer)
        count = sizeof buffer;
    archive.Read(buffer, count);
    archive.Read(buffer, 7);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* input, size_t size)
{
    if (size < 2)
        return 0;
    size_t indexSize = input[0] | input[1] << 8;
    if (indexSize > size - 2)
        indexSize = size - 2;
    // The index in a buffer of its own, so that a read past its end shows rather than landing
    // in the data; the data ends where libFuzzer's copy of the input does.
    const std::vector<uint8_t> index(input + 2, input + 2 + indexSize);
    ResourceArchive archive("pack", index, {input + 2 + indexSize, size - 2 - indexSize});
    // Every name the index holds (cut to the name field), then some it does not.
    for (size_t at = 0; at + kArchiveRecordSize <= indexSize; at += kArchiveRecordSize) {
        char name[kArchiveNameSize + 1] = {};
        std::memcpy(name, index.data() + at, kArchiveNameSize);
        if (archive.Open(name))
            ReadWholeEntry(archive, 100);
        archive.Close();
    }
    for (const char* name : {"logo.bmp", "se_fire.mp3", ""}) {
        archive.Open(name);
        ReadWholeEntry(archive, 3);
    }
    return 0;
}
