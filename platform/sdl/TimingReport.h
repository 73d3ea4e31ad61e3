#pragma once
// What the game tells of its own timing, for the benchmarks and the end-to-end sessions: with
// KORIMO_TIMING=1 in the environment, lines on standard error; without it, nothing.

#include <cstdint>

// Start-up time as the player waits it: the first call prints "korimo: first frame presented
// after N ms (P ms of processor time, all threads)", from the program's start to its first
// presented frame; later calls print nothing.
void ReportFirstFrame();

// The frames' pace: "korimo: frame starts at T ms" for every frame, T being the game's clock
// (timeGetTime) as the frame's start read it.
void ReportFrameStart(uint32_t clock);
