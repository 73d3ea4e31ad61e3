// Writing a surface to disk as a 32-bit bottom-up BMP, its pixels exactly as they lie in
// memory. The file is written whole to a temporary name and then renamed, so a full disk or a
// crash leaves either the old file or the new one, never half of one.

#include "gfx/BmpWriter.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "gfx/BmpLayout.h"
#include "gfx/Surface.h"
#include "platform/Files.h"

namespace {

// Snapshot numbers run 0000..9998; when all are taken the last one is written again.
constexpr int kLastSnapshotNumber = 9998;

void PutLittleEndian(uint8_t* at, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; i++)
        at[i] = static_cast<uint8_t>(value >> (8 * i));
}

}  // namespace

bool SaveBmp(const Surface& surface, const char* fileName)
{
    uint64_t pixelBytes = uint64_t(surface.width) * surface.height * 4;
    uint64_t fileSize = kBmpWrittenPixelOffset + pixelBytes;
    if (!fileName || fileSize > UINT32_MAX)
        return false;

    std::vector<uint8_t> file(fileSize);
    uint8_t* at = file.data();
    at[0] = 'B';
    at[1] = 'M';
    PutLittleEndian(at + 2, static_cast<uint32_t>(fileSize), 4);
    PutLittleEndian(at + 6, 0, 4);  // two reserved words
    PutLittleEndian(at + 10, kBmpWrittenPixelOffset, 4);
    // The surface's own header and the four zero bytes behind it, as they lie in the block.
    std::memcpy(at + kBmpFileHeaderSize, surface.header,
                kBmpWrittenPixelOffset - kBmpFileHeaderSize);
    if (pixelBytes)
        std::memcpy(at + kBmpWrittenPixelOffset, surface.pixels, pixelBytes);
    // Pictures are written while the game runs: no waiting for the disk.
    return ReplaceFile(fileName, file.data(), file.size(), Durability::Quick);
}

void SaveSnapshot(const Surface& surface, const std::string& folder)
{
    // Numbers are searched from 0 every time, so a file deleted meanwhile is reused first.
    std::string path;
    bool reserved = false;
    for (int n = 0; n <= kLastSnapshotNumber && !reserved; n++) {
        char name[16];
        std::snprintf(name, sizeof name, "Snap%04d.bmp", n);
        path = folder.empty() ? name : folder + "/" + name;
        reserved = CreateNewFile(path);
    }
    // A reserved name that could not be written is given back rather than left empty.
    if (!SaveBmp(surface, path.c_str()) && reserved)
        std::remove(path.c_str());
}
