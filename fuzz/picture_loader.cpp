// Arbitrary bytes as a picture entry of a real archive pair, through the real loader: whatever
// the bytes, the loader reads nothing outside the entry, writes nothing outside the surface,
// and either loads a picture of the size its header gives or says what is wrong.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "archive/ArchiveFormat.h"
#include "archive/ResourceArchive.h"
#include "gfx/PictureLoader.h"
#include "gfx/Surface.h"

namespace {

std::string folder;

void RemoveFolder()
{
    std::remove((folder + "/pack.set").c_str());
    std::remove((folder + "/pack.dat").c_str());
    rmdir(folder.c_str());
}

// The archive pair lives in a folder of its own for the whole run.
std::string ArchiveBase()
{
    if (folder.empty()) {
        char pattern[] = "/tmp/korimo-fuzz-picture-XXXXXX";
        if (!mkdtemp(pattern))
            std::abort();
        folder = pattern;
        std::atexit(RemoveFolder);
    }
    return folder + "/pack";
}

void WriteWhole(const std::string& path, const void* bytes, size_t size)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file || (size && std::fwrite(bytes, size, 1, file) != 1) || std::fclose(file) != 0)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // One entry holding the input, last in the data file so that nothing of ours lies behind it.
    unsigned char record[kArchiveRecordSize] = {};
    std::strcpy(reinterpret_cast<char*>(record), "fuzz.bmp");
    const std::string base = ArchiveBase();
    WriteWhole(base + ".set", record, sizeof record);
    WriteWhole(base + ".dat", data, size);

    ResourceArchive archive(base.c_str());
    std::string error;
    std::unique_ptr<Surface> loadedPicture(LoadPicture(nullptr, archive, "fuzz.bmp", error));
    const Surface& picture = *loadedPicture;
    bool loaded = error.empty();
    if (picture.width < 1 || picture.height < 1 || !picture.pixels)
        std::abort();  // every outcome leaves a usable surface
    if (loaded && size < 54)
        std::abort();  // too short to be a picture, yet taken for one

    // Touch every pixel, so a surface smaller than its stated size shows.
    uint32_t sum = 0;
    for (int i = 0; i < picture.width * picture.height; i++)
        sum += picture.pixels[i];
    volatile uint32_t sink = sum;
    (void)sink;
    return 0;
}
