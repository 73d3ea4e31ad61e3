#pragma once
// The desktop icon: the heroine on her broom, first frame of her sprite, centred on a clear
// square and scaled pixel for pixel (nearest neighbour) to each size of the hicolor theme.

#include <vector>

#include "tools/pictures/Image.h"
#include "tools/pictures/Sources.h"

const std::vector<int>& IconSizes();
Image BuildIcon(Sources& sources, int size);
