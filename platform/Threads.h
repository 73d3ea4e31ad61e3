#pragma once
// Whether this build may start threads of its own: a browser page built without shared memory
// has only the one it runs on, and there the work meant for a thread is done where it is asked.

#if defined(__EMSCRIPTEN__) && !defined(__EMSCRIPTEN_PTHREADS__)
inline constexpr bool kCanStartThreads = false;
#else
inline constexpr bool kCanStartThreads = true;
#endif

// Puts the calling thread below the others by niceness (1 to 19, as nice counts), so it runs
// only when they leave the processor free.
void LowerThreadPriority(int niceness);
