#include "scenes/ScenePicture.h"

#include <cstdio>
#include <string>

#include "gfx/Draw.h"
#include "gfx/PictureLoader.h"
#include "gfx/Surface.h"

Surface* LoadScenePicture(HWND window, ResourceArchive& archive, const char* name,
                          const PictureLimits& limits)
{
    std::string error;
    Surface* picture = LoadPicture(window, archive, name, error);
    if (!error.empty()) {
        std::fprintf(stderr, "korimo: %s\n", error.c_str());
    } else if (picture->width < limits.minWidth || picture->height < limits.minHeight ||
               picture->width > limits.maxWidth || picture->height > limits.maxHeight) {
        std::fprintf(stderr, "korimo: picture \"%s\" is %dx%d, outside %dx%d to %dx%d\n", name,
                     picture->width, picture->height, limits.minWidth, limits.minHeight,
                     limits.maxWidth, limits.maxHeight);
    } else {
        return picture;
    }
    delete picture;
    return new Surface(window, limits.minWidth, limits.minHeight);
}

void CopyPicture(const Surface& picture, Surface& canvas)
{
    StretchDIBits(canvas.dc, 0, 0, picture.width, picture.height, 0, 0, picture.width,
                  picture.height, picture.pixels,
                  reinterpret_cast<const BITMAPINFO*>(picture.header), DIB_RGB_COLORS, SRCCOPY);
}

bool FadeToBlack(const Surface& picture, const Surface& black, Surface& canvas, uint32_t elapsed)
{
    int64_t weight = 256 - static_cast<int64_t>(elapsed / 2);
    bool isBlack = weight < 0;
    CopyPicture(picture, canvas);
    BlitBlend(black, kScreenRect, canvas, 0, 0, isBlack ? 0 : static_cast<int>(weight));
    return isBlack;
}
