#pragma once
// Start-up time as the player waits it: from the program's start to its first presented frame.

// With KORIMO_TIMING=1 in the environment, the first call prints one line on standard error,
// "korimo: first frame presented after N ms (P ms of processor time, all threads)"; later
// calls, and calls without it, do nothing.
void ReportFirstFrame();
