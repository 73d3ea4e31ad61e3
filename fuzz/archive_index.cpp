// Arbitrary index and data files: constructing the archive, opening entries and reading well
// past their ends must stay inside the two mappings whatever the index says.
//
// Input: a 2-byte little-endian length of the index, the index bytes, then the data bytes.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "archive/ArchiveFormat.h"
#include "archive/ResourceArchive.h"

namespace {

// A folder of its own for the two files, removed again when the fuzzer exits.
struct TemporaryFolder {
    TemporaryFolder()
    {
        char pattern[] = "/tmp/korimo-fuzz-archive-XXXXXX";
        if (!mkdtemp(pattern)) std::abort();
        path = pattern;
    }
    ~TemporaryFolder() { std::filesystem::remove_all(path); }
    std::string path;
};

const std::string& BasePath()
{
    static const TemporaryFolder folder;
    static const std::string base = folder.path + "/pack";
    return base;
}

void WriteFile(const std::string& path, const uint8_t* bytes, size_t size)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) std::abort();
    if (size > 0) std::fwrite(bytes, 1, size, file);
    std::fclose(file);
}

void ReadWholeEntry(ResourceArchive& archive, uint32_t extra)
{
    static unsigned char buffer[1 << 16];
    uint32_t count = archive.entrySize + extra;
    if (count > sizeof buffer) count = sizeof buffer;
    archive.Read(buffer, count);
    archive.Read(buffer, 7);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* input, size_t size)
{
    if (size < 2) return 0;
    size_t indexSize = input[0] | input[1] << 8;
    if (indexSize > size - 2) indexSize = size - 2;
    const uint8_t* index = input + 2;
    WriteFile(BasePath() + ".set", index, indexSize);
    WriteFile(BasePath() + ".dat", index + indexSize, size - 2 - indexSize);

    ResourceArchive archive(BasePath().c_str());
    // Every name the index holds (cut to the name field), then some it does not.
    for (size_t at = 0; at + kArchiveRecordSize <= indexSize; at += kArchiveRecordSize) {
        char name[kArchiveNameSize + 1] = {};
        std::memcpy(name, index + at, kArchiveNameSize);
        if (archive.Open(name)) ReadWholeEntry(archive, 100);
        archive.Close();
    }
    for (const char* name : {"logo.bmp", "se_fire.mp3", ""}) {
        archive.Open(name);
        ReadWholeEntry(archive, 3);
    }
    return 0;
}
