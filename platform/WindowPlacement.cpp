#include "platform/WindowPlacement.h"

#include <algorithm>

RECT PlacePicture(int outputWidth, int outputHeight, int pictureWidth, int pictureHeight)
{
    if (pictureWidth <= 0 || pictureHeight <= 0 || outputWidth <= 0 || outputHeight <= 0)
        return {0, 0, 0, 0};
    const int factor = std::min(outputWidth / pictureWidth, outputHeight / pictureHeight);
    int width = pictureWidth * factor;
    int height = pictureHeight * factor;
    if (factor == 0) {
        // Narrower or lower than the picture: shrink, keeping the proportions.
        const bool widthLimits =
            int64_t(outputWidth) * pictureHeight < int64_t(outputHeight) * pictureWidth;
        width = widthLimits
                    ? outputWidth
                    : static_cast<int>(int64_t(outputHeight) * pictureWidth / pictureHeight);
        height = widthLimits ? static_cast<int>(int64_t(outputWidth) * pictureHeight / pictureWidth)
                             : outputHeight;
    }
    const int left = (outputWidth - width) / 2;
    const int top = (outputHeight - height) / 2;
    return {left, top, left + width, top + height};
}
