#include "sound/SoundSource.h"

#include <algorithm>
#include <cstring>

#include "archive/ResourceArchive.h"

namespace {

constexpr uint32_t kChunkHeaderSize = 8;  // a four-letter id, then the data's size
constexpr uint32_t kRiffHeaderSize = 12;  // "RIFF", the file's size, "WAVE"

uint32_t ReadLittleEndian32(const uint8_t* bytes)
{
    return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | uint32_t{bytes[3]} << 24;
}

}  // namespace

SoundSource::SoundSource(ResourceArchive& archive, const char* name)
{
    if (!archive.Open(name))
        return;
    this->archive = &archive;
    start = position = archive.cursor;
    size = archive.entrySize;
}

SoundSource::SoundSource(const uint8_t* bytes, uint32_t size)
    : start(bytes), position(bytes), size(size)
{
}

SoundSource::~SoundSource()
{
    if (archive)
        archive->Close();
}

bool SoundSource::IsRiff() const
{
    return size >= kRiffHeaderSize && std::memcmp(start, "RIFF", 4) == 0 &&
           std::memcmp(start + 8, "WAVE", 4) == 0;
}

const uint8_t* SoundSource::FindChunk(const char* id)
{
    position = start;
    if (!IsRiff())
        return nullptr;
    size_t idLength = std::strlen(id);
    // Wide enough that no chunk size can wrap the offset round: each step moves it on by at
    // least a header, so the walk always ends.
    uint64_t offset = kRiffHeaderSize;
    while (offset + kChunkHeaderSize <= size) {
        const uint8_t* chunk = start + offset;
        if (std::memcmp(chunk, id, std::min<size_t>(idLength, 4)) == 0) {
            position = chunk;
            return chunk;
        }
        uint64_t chunkSize = ReadLittleEndian32(chunk + 4);
        offset += kChunkHeaderSize + chunkSize + (chunkSize & 1);
    }
    return nullptr;
}

const uint8_t* SoundSource::StreamStart()
{
    if (!IsRiff())
        return start;
    const uint8_t* chunk = FindChunk("data");
    return chunk ? chunk + kChunkHeaderSize : nullptr;
}

uint32_t SoundSource::StreamLength()
{
    if (!IsRiff())
        return size;
    const uint8_t* chunk = FindChunk("data");
    if (!chunk)
        return 0;
    uint64_t length = ReadLittleEndian32(chunk + 4);
    return static_cast<uint32_t>(length + (length & 1));
}

std::span<const uint8_t> SoundSource::Stream(const char** fault)
{
    if (!start) {
        *fault = "not in the archive";
        return {};
    }
    if (!IsRiff())
        return {start, size};
    const uint8_t* chunk = FindChunk("data");
    if (!chunk) {
        *fault = "a RIFF file without a \"data\" chunk";
        return {};
    }
    const uint8_t* data = chunk + kChunkHeaderSize;
    uint64_t available = start + size - data;
    uint64_t dataSize = ReadLittleEndian32(chunk + 4);
    if (dataSize > available) {
        *fault = "its \"data\" chunk runs past the end of the entry";
        return {};
    }
    // Writers often leave out the pad byte after an odd chunk at the end of a file; the
    // stream is whole without it.
    uint64_t padded = dataSize + (dataSize & 1);
    return {data, static_cast<size_t>(std::min(padded, available))};
}
