#pragma once
// Files for tests: a temporary folder, whole files read and written (bytes or text), and archive pairs built
// byte by byte in the layout the game reads, as bytes or as files.

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "archive/ArchiveFormat.h"

namespace testfiles {

using Bytes = std::vector<uint8_t>;

// A fresh folder, removed with everything in it; with enter, the working directory meanwhile.
class TempFolder {
public:
    explicit TempFolder(bool enter = false)
    {
        // A name no other test took: create_directory says whether this one made it.
        std::random_device entropy;
        std::error_code failed;
        for (int tries = 0; tries < 100 && path.empty(); tries++) {
            const auto candidate = std::filesystem::temp_directory_path() /
                                   ("korimo-test-" + std::to_string(entropy()));
            if (std::filesystem::create_directory(candidate, failed))
                path = candidate;
        }
        if (path.empty())
            ADD_FAILURE() << "cannot create a temporary folder";
        if (enter) {
            previous = std::filesystem::current_path();
            std::filesystem::current_path(path);
        }
    }
    ~TempFolder()
    {
        if (!previous.empty())
            std::filesystem::current_path(previous);
        std::filesystem::remove_all(path);
    }
    std::string operator/(const std::string& name) const { return (path / name).string(); }

    std::filesystem::path path;

private:
    std::filesystem::path previous;
};

inline void WriteFile(const std::string& path, const Bytes& bytes)
{
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

inline Bytes ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline std::string ReadText(const std::string& path)
{
    const Bytes bytes = ReadFile(path);
    return {bytes.begin(), bytes.end()};
}

inline void WriteText(const std::string& path, const std::string& text)
{
    WriteFile(path, Bytes(text.begin(), text.end()));
}

inline void PutLE(Bytes& bytes, size_t at, uint32_t value, int size)
{
    for (int i = 0; i < size; i++)
        bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

// Index records of the given names and offsets.
using Records = std::vector<std::pair<std::string, uint32_t>>;
inline Bytes IndexOf(const Records& records)
{
    Bytes index(records.size() * kArchiveRecordSize, 0);
    for (size_t i = 0; i < records.size(); i++) {
        const auto& [name, offset] = records[i];
        std::memcpy(&index[i * kArchiveRecordSize], name.data(), name.size());
        PutLE(index, i * kArchiveRecordSize + kArchiveNameSize, offset, 4);
    }
    return index;
}

// The bytes of an archive pair holding the entries back to back, in this order.
struct ArchivePair {
    Bytes index, data;
};
using ArchiveEntries = std::vector<std::pair<std::string, Bytes>>;
inline ArchivePair PackArchive(const ArchiveEntries& entries)
{
    Records records;
    Bytes data;
    for (const auto& [name, bytes] : entries) {
        records.push_back({name, static_cast<uint32_t>(data.size())});
        data.insert(data.end(), bytes.begin(), bytes.end());
    }
    return {IndexOf(records), data};
}

// base.set / base.dat holding the entries back to back, in this order.
inline void WriteArchive(const std::string& base, const ArchiveEntries& entries)
{
    const ArchivePair pair = PackArchive(entries);
    WriteFile(base + ".set", pair.index);
    WriteFile(base + ".dat", pair.data);
}

}  // namespace testfiles
