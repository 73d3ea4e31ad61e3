#include "archive/ResourceArchive.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "archive/ArchiveFormat.h"
#include "archive/GameArchive.h"

// Defined in this order, so the search has run when the archive opens what it found.
const GameArchiveLocation gameArchiveLocation = LocateGameArchive();
ResourceArchive resourceArchive(gameArchiveLocation.baseName.c_str());

ResourceArchive::ResourceArchive(const char* baseName)
{
    NamePair(baseName);
    indexFile = MappedFile(indexPath);
    dataFile = MappedFile(dataPath);
    if (!indexFile.isOpen())
        failure = indexFile.error();
    else if (!dataFile.isOpen())
        failure = dataFile.error();
    Attach(indexFile.bytes(), dataFile.bytes());
}

ResourceArchive::ResourceArchive(const char* baseName, std::span<const uint8_t> indexBytes,
                                 std::span<const uint8_t> dataBytes)
{
    NamePair(baseName);
    Attach(indexBytes, dataBytes);
}

ResourceArchive::~ResourceArchive() = default;

void ResourceArchive::NamePair(const char* baseName)
{
    std::snprintf(indexPath, sizeof indexPath, "%s.set", baseName);
    std::snprintf(dataPath, sizeof dataPath, "%s.dat", baseName);
}

void ResourceArchive::Attach(std::span<const uint8_t> indexBytes,
                             std::span<const uint8_t> dataBytes)
{
    index = indexBytes;
    data = dataBytes;
    if (failure.empty())
        failure = CheckIndex();
    // A damaged archive serves nothing rather than bytes from outside its files.
    if (failure.empty())
        recordCount = RecordCount();
}

uint32_t ResourceArchive::RecordCount() const
{
    return static_cast<uint32_t>(index.size() / kArchiveRecordSize);
}

const char* ResourceArchive::NameOf(uint32_t i) const
{
    return reinterpret_cast<const char*>(index.data() + size_t{i} * kArchiveRecordSize);
}

uint32_t ResourceArchive::OffsetOf(uint32_t i) const
{
    const unsigned char* bytes = index.data() + size_t{i} * kArchiveRecordSize + kArchiveNameSize;
    return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | uint32_t{bytes[3]} << 24;
}

std::string ResourceArchive::CheckIndex() const
{
    char line[600];
    if (data.size() > UINT32_MAX) {
        std::snprintf(line, sizeof line, "%s: larger than 4 GiB, beyond what %s can address",
                      dataPath, indexPath);
        return line;
    }
    uint32_t previous = 0;
    for (uint32_t i = 0; i < RecordCount(); ++i) {
        const char* name = NameOf(i);
        if (!std::memchr(name, '\0', kArchiveNameSize)) {
            std::snprintf(line, sizeof line, "%s: record %u has no name ending within %d bytes",
                          indexPath, i, kArchiveNameSize);
            return line;
        }
        uint32_t offset = OffsetOf(i);
        if (offset > data.size()) {
            std::snprintf(line, sizeof line,
                          "%s: entry '%s' starts at %u, past the end of %s (%zu bytes)", indexPath,
                          name, offset, dataPath, data.size());
            return line;
        }
        if (offset < previous) {
            std::snprintf(line, sizeof line,
                          "%s: entry '%s' starts at %u, before the entry ahead of it (at %u)",
                          indexPath, name, offset, previous);
            return line;
        }
        previous = offset;
    }
    return {};
}

int ResourceArchive::Open(const char* name)
{
    for (uint32_t i = 0; i < recordCount; ++i) {
        if (std::strcmp(NameOf(i), name) == 0)
            return OpenEntry(i);
    }
    return 0;
}

int ResourceArchive::OpenEntry(uint32_t i)
{
    if (i >= recordCount)
        return 0;
    uint32_t offset = OffsetOf(i);
    uint32_t end = i + 1 < recordCount ? OffsetOf(i + 1) : static_cast<uint32_t>(data.size());
    record = reinterpret_cast<const unsigned char*>(NameOf(i));
    entryStart = data.data() + offset;
    entryEnd = data.data() + end;
    cursor = entryStart;
    entrySize = end - offset;
    isOpen = 1;
    return 1;
}

void ResourceArchive::Close()
{
    isOpen = 0;
}

std::span<const uint8_t> ResourceArchive::EntryBytes() const
{
    return {entryStart, static_cast<size_t>(entryEnd - entryStart)};
}

uint32_t ResourceArchive::Remaining() const
{
    // Compared as addresses: clients may move the public cursor anywhere, and a cursor outside
    // the entry has nothing left to read.
    auto at = reinterpret_cast<uintptr_t>(cursor);
    if (at < reinterpret_cast<uintptr_t>(entryStart) || at > reinterpret_cast<uintptr_t>(entryEnd))
        return 0;
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(entryEnd) - at);
}

void ResourceArchive::Read(void* buffer, uint32_t count)
{
    uint32_t available = Remaining();
    uint32_t copied = count < available ? count : available;
    if (copied > 0) {
        std::memcpy(buffer, cursor, copied);
        cursor += copied;
    }
    if (copied < count)
        std::memset(static_cast<unsigned char*>(buffer) + copied, 0, count - copied);
}

uint32_t ResourceArchive::IndexChecksum() const
{
    uint32_t hash = 0x811C9DC5u;  // 32-bit FNV-1a
    for (size_t i = 0; i < index.size(); i++)
        hash = (hash ^ index.data()[i]) * 0x01000193u;
    return hash;
}
