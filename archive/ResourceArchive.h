#pragma once
// The packed resource archive: an index file "<base>.set" of 260-byte records (a NUL-terminated
// name in 256 bytes, then a little-endian 32-bit offset) and a data file "<base>.dat" holding
// the resources back to back. An entry runs from its offset to the next record's offset (the
// last one to the end of the data file). The archive reads the two files' bytes in place,
// whether it mapped the files itself or was handed bytes that someone else holds.

#include <cstdint>
#include <span>
#include <string>

#include "platform/Files.h"

class ResourceArchive {
public:
    // Maps "<base>.set" and "<base>.dat" and reads the archive over their bytes as the
    // constructor below does. Prints nothing: a missing file or a damaged index is recorded in
    // error() and the archive then holds no entries.
    explicit ResourceArchive(const char* baseName);
    // Checks the index and reads the archive over bytes it does not own, which must outlive it;
    // nothing is opened. baseName only names the pair ("<base>.set", "<base>.dat") in error()
    // and in the paths below.
    ResourceArchive(const char* baseName, std::span<const uint8_t> indexBytes,
                    std::span<const uint8_t> dataBytes);
    virtual ~ResourceArchive();

    // 1 when the named entry was found and is now current, else 0 (nothing changes).
    virtual int Open(const char* name);
    virtual void Close();
    // Copies count bytes from the cursor. Never reads past the open entry: what lies beyond
    // its end is filled with zeros.
    virtual void Read(void* buffer, uint32_t count);

    // Empty when the index is sound (and, opened by path, both files were mapped); otherwise
    // one line naming the file and the fault (missing file, offsets not ascending or past the
    // data).
    const std::string& error() const { return failure; }
    // Bytes of the open entry still ahead of the cursor.
    uint32_t Remaining() const;
    // The whole entry that Open or OpenEntry made current last, wherever the cursor stands:
    // the archive's own bytes, valid as long as it lives. Empty before any entry was opened.
    std::span<const uint8_t> EntryBytes() const;

    // The entries in index order, for tools that list or unpack an archive: how many there
    // are, and making entry i current as Open does (0 when i is out of range).
    uint32_t EntryCount() const { return recordCount; }
    // A checksum of the index (names and offsets): archives with other pictures or sounds
    // differ in it, so a replay can tell it was recorded with the same ones.
    uint32_t IndexChecksum() const;
    int OpenEntry(uint32_t i);

    int isOpen = 0;
    char indexPath[260] = {};
    char dataPath[260] = {};
    const unsigned char* record = nullptr;  // the index record of the open entry
    const unsigned char* cursor = nullptr;
    uint32_t entrySize = 0;

private:
    // Fills in indexPath and dataPath.
    void NamePair(const char* baseName);
    // Takes the bytes and, unless a file is already missing, checks the index over them.
    void Attach(std::span<const uint8_t> indexBytes, std::span<const uint8_t> dataBytes);
    // The failure of the first record that breaks the index's rules, or empty.
    std::string CheckIndex() const;
    uint32_t RecordCount() const;
    const char* NameOf(uint32_t record) const;
    uint32_t OffsetOf(uint32_t record) const;

    // Held only when the archive opened the files itself.
    MappedFile indexFile;
    MappedFile dataFile;
    std::span<const uint8_t> index;
    std::span<const uint8_t> data;
    uint32_t recordCount = 0;  // records of a sound index; 0 when anything is wrong
    // The open entry's bounds, kept apart from the public cursor and size that clients may
    // move, so that no client can make Read leave the entry.
    const unsigned char* entryStart = nullptr;
    const unsigned char* entryEnd = nullptr;
    std::string failure;
};

struct GameArchiveLocation;
// The game's archive, found and opened before main runs; where it was looked for and, when
// no place held it, the line that says so.
extern const GameArchiveLocation gameArchiveLocation;
extern ResourceArchive resourceArchive;
