#include "app/Globals.h"

Surface* snapshots[kSnapshotCount] = {};
int snapshotCount = 0;
