#pragma once
// Program-wide objects that have no better home. Each is created and released by the entry
// function (main.cpp), in its start-up and shutdown order.

class Surface;

// Ten 320x240 pictures without device context: filled during the first runs, shown by the
// ending. snapshotCount of them hold a picture; it is never reset.
constexpr int kSnapshotCount = 10;
extern Surface* snapshots[kSnapshotCount];
extern int snapshotCount;
