#pragma once
// A read-only view of one stored sound for the length of one load: an MP3 stream, either bare
// (the entry begins with a frame header) or wrapped in a RIFF/WAVE file as its "data" chunk.

#include <cstdint>
#include <span>

class ResourceArchive;

class SoundSource {
public:
    // Opens the named entry of the archive; start is null when there is no such entry.
    SoundSource(ResourceArchive& archive, const char* name);
    // A view of bytes that belong to no archive.
    SoundSource(const uint8_t* bytes, uint32_t size);
    virtual ~SoundSource();

    SoundSource(const SoundSource&) = delete;
    SoundSource& operator=(const SoundSource&) = delete;

    // Whether the entry is a RIFF/WAVE file rather than a bare stream.
    bool IsRiff() const;
    // The header of the first chunk whose id begins with id, or null; position is left at the
    // chunk, or at start when there is none. Only whole chunk headers inside the entry count.
    const uint8_t* FindChunk(const char* id);
    // Where the stream begins: the "data" chunk's data in a RIFF file (null when it has none),
    // otherwise the entry's first byte.
    const uint8_t* StreamStart();
    // The stream's length in bytes: the "data" chunk's size rounded up to even in a RIFF file,
    // otherwise the entry's size.
    uint32_t StreamLength();

    // The stream, cut to the entry (a missing pad byte at the very end is forgiven). Empty,
    // with fault saying why, when there is no stream inside the entry.
    std::span<const uint8_t> Stream(const char** fault);

    const uint8_t* start = nullptr;
    const uint8_t* position = nullptr;
    uint32_t size = 0;
    ResourceArchive* archive = nullptr;
};
