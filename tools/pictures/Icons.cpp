#include "tools/pictures/Icons.h"

const std::vector<int>& IconSizes()
{
    static const std::vector<int> sizes = {16, 24, 32, 48, 64, 128, 256};
    return sizes;
}

Image BuildIcon(Sources& sources, int size)
{
    const Image heroine = sources.Grid("velani").crop(0, 0, 32, 16);
    Image square(32, 32);
    square.paste(heroine, 0, 8);
    Image icon(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            icon.set(x, y, square.at(x * 32 / size, y * 32 / size));
    return icon;
}
