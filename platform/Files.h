#pragma once
// File services beyond the standard library: read-only mapping of a whole file, exclusive
// creation of a new file, replacing a file safely, and where the running program lies.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <utility>

// A whole file mapped read-only. Empty (data() null, size 0) when the file could not be opened
// or mapped; error() then says why in one line that names the file. A reader of bytes gets a
// file's in one line: reader.Load(MappedFile(path).bytes()).
class MappedFile {
public:
    MappedFile() = default;
    explicit MappedFile(const std::string& path);
    ~MappedFile();
    MappedFile(MappedFile&& other) noexcept
        : start(std::exchange(other.start, nullptr)), length(std::exchange(other.length, 0)),
          opened(std::exchange(other.opened, false)), failure(std::move(other.failure))
    {
    }
    // Swapping hands the old mapping to other, whose destructor releases it.
    MappedFile& operator=(MappedFile&& other) noexcept
    {
        std::swap(start, other.start);
        std::swap(length, other.length);
        std::swap(opened, other.opened);
        std::swap(failure, other.failure);
        return *this;
    }
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    bool isOpen() const { return opened; }
    const unsigned char* data() const { return start; }
    size_t size() const { return length; }
    std::span<const uint8_t> bytes() const { return {start, length}; }
    const std::string& error() const { return failure; }

private:
    const unsigned char* start = nullptr;
    size_t length = 0;
    bool opened = false;
    std::string failure;
};

// Creates path only if no file of that name exists (the name is then reserved, the file left
// empty and closed). False when it exists or cannot be created.
bool CreateNewFile(const std::string& path);

// Writes the bytes to a temporary file in the same folder and renames it over path, so a crash
// or a full disk never leaves a half-written file behind. Durable also waits until the disk
// holds the new file (the save file needs that; pictures do not, and the wait would cost
// frames). False on failure; the old file is then untouched.
enum class Durability { Durable, Quick };
bool ReplaceFile(const std::string& path, const void* data, size_t size,
                 Durability durability = Durability::Durable);

// Where Windows keeps each player's program data (the roaming application-data known folder,
// what %APPDATA% names); empty on a system without one, where the XDG rules apply instead.
std::string WindowsAppDataFolder();

// The folder holding the running executable, with symbolic links resolved; empty when the
// system cannot say.
std::string ExecutableFolder();
