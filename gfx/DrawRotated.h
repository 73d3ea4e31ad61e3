#pragma once
// The geometry of the rotated copy, shared by its fast loop and its reference loop: which box
// of the destination the turned picture fills, and where in the source the walk starts.

#include <cstdint>

struct TurnedBox {
    int width, height;     // of the box the turned picture fills
    int originX, originY;  // the box's lower-left corner in the destination
    int cosF, sinF;        // the turn in 16.16 fixed point
    // The source position, in 16.16 fixed point, that the box's corner (0, 0) samples: box
    // pixel (i, j) samples (startU + i*cosF - j*sinF, startV + i*sinF + j*cosF). Kept in 64
    // bits, so a caller can tell whether the 32-bit walk would wrap.
    int64_t startU, startV;
};

// A full turn is 255 steps of the sine table; the turned picture is centred in the destination.
TurnedBox TurnBox(int srcW, int srcH, int dstW, int dstH, int angle);
