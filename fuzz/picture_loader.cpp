// Arbitrary bytes as a picture, through the real decoder: whatever the bytes, it reads nothing
// outside them, writes nothing outside the surface, and either loads a picture of the size its
// header gives or says what is wrong.

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "gfx/PictureLoader.h"
#include "gfx/Surface.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // libFuzzer's copy of the input ends exactly where the picture does, so a read past it is
    // caught.
    std::string error;
    std::unique_ptr<Surface> loadedPicture(DecodePicture(nullptr, {data, size}, "fuzz.bmp", error));
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
