#pragma once
// Where a window's picture goes on an output of a given size: scaled by the largest whole
// factor that fits and centred, the rest left black. An output smaller than the picture gets
// it shrunk to fit, its proportions kept.

#include "platform/Platform.h"

RECT PlacePicture(int outputWidth, int outputHeight, int pictureWidth, int pictureHeight);
