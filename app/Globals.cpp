#include "app/Globals.h"

#include "app/GameApp.h"
#include "gfx/Surface.h"

Surface* snapshots[kSnapshotCount] = {};
int snapshotCount = 0;

void CreateSnapshots()
{
    for (Surface*& snapshot : snapshots) {
        if (!snapshot)
            snapshot = new Surface(kCanvasWidth, kCanvasHeight);
    }
}
