#pragma once
// Helpers of the graphics tests: a temporary folder, an archive pair written from named
// entries, BMP pictures built byte by byte, and surfaces filled with telling contents.

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "archive/ArchiveFormat.h"
#include "gfx/Surface.h"

namespace gfxtest {

using Bytes = std::vector<uint8_t>;

// A fresh folder under the system's temporary folder, removed with everything in it. With
// enter, it is also the working directory while it lives.
class TempFolder {
public:
    explicit TempFolder(bool enter = false)
    {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "korimo-gfx-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            ADD_FAILURE() << "cannot create a temporary folder";
        path = pattern;
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

// Writes base.set / base.dat holding the entries back to back, in the layout the game reads.
inline void WriteArchive(const std::string& base,
                         const std::vector<std::pair<std::string, Bytes>>& entries)
{
    Bytes index, data;
    for (const auto& [name, bytes] : entries) {
        Bytes record(kArchiveRecordSize, 0);
        std::memcpy(record.data(), name.data(), name.size());
        uint32_t offset = static_cast<uint32_t>(data.size());
        for (int i = 0; i < 4; i++)
            record[kArchiveNameSize + i] = static_cast<uint8_t>(offset >> (8 * i));
        index.insert(index.end(), record.begin(), record.end());
        data.insert(data.end(), bytes.begin(), bytes.end());
    }
    WriteFile(base + ".set", index);
    WriteFile(base + ".dat", data);
}

inline void PutLE(Bytes& bytes, size_t at, uint32_t value, int size)
{
    for (int i = 0; i < size; i++)
        bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

// A BMP file: the 14-byte file header, a 40-byte info header and then the given pixel bytes,
// right behind the headers as the game's pictures have them.
inline Bytes Bmp(int width, int height, int bitCount, const Bytes& pixelBytes)
{
    Bytes file(54, 0);
    file[0] = 'B';
    file[1] = 'M';
    PutLE(file, 2, static_cast<uint32_t>(54 + pixelBytes.size()), 4);
    PutLE(file, 10, 54, 4);
    PutLE(file, 14, 40, 4);
    PutLE(file, 18, static_cast<uint32_t>(width), 4);
    PutLE(file, 22, static_cast<uint32_t>(height), 4);
    PutLE(file, 26, 1, 2);
    PutLE(file, 28, static_cast<uint32_t>(bitCount), 2);
    file.insert(file.end(), pixelBytes.begin(), pixelBytes.end());
    return file;
}

// Every pixel a different word, fourth byte included, so a pixel from the wrong place shows.
inline void FillDistinct(Surface& surface, uint32_t seed = 0x9E3779B9)
{
    for (int i = 0; i < surface.width * surface.height; i++)
        surface.pixels[i] = seed ^ (static_cast<uint32_t>(i) * 0x01000193u + 0x5A5A0000u);
}

inline void Fill(Surface& surface, uint32_t word)
{
    for (int i = 0; i < surface.width * surface.height; i++)
        surface.pixels[i] = word;
}

inline std::vector<uint32_t> PixelsOf(const Surface& surface)
{
    return std::vector<uint32_t>(surface.pixels, surface.pixels + surface.width * surface.height);
}

}  // namespace gfxtest
