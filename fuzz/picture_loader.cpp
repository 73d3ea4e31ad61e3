// Arbitrary bytes as a picture entry of a real archive pair, through the real loader: whatever
// the bytes, the loader reads nothing outside the entry, writes nothing outside the surface,
// and either loads a picture of the size its header gives or says what is wrong.

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "archive/ArchiveFormat.h"
#include "archive/ResourceArchive.h"
#include "fuzz/ScratchFolder.h"
#include "gfx/PictureLoader.h"
#include "gfx/Surface.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // One entry holding the input, last in the data file so that nothing of ours lies behind it.
    unsigned char record[kArchiveRecordSize] = {};
    std::strcpy(reinterpret_cast<char*>(record), "fuzz.bmp");
    static const ScratchFolder folder;
    folder.Write("pack.set", record, sizeof record);
    folder.Write("pack.dat", data, size);

    ResourceArchive archive((folder.path / "pack").c_str());
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
