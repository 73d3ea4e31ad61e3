#pragma once
// What the soak checks after every run, back on the title: the heap in use, the rankings and
// the save file the game wrote. Each check gives an empty string, or what is wrong.

#include <cstddef>
#include <cstdint>
#include <string>

#include "app/SaveRecord.h"

// Bytes the heap has handed out and not taken back; 0 when the allocator cannot tell (the
// sanitizers replace it, and find leaks themselves).
size_t HeapInUse();

// The heap on the title came back to where it was, but for the voices the game made during
// the run and keeps by design.
std::string CheckHeap(size_t before, size_t after, int newVoices);

// A five-minute run left the one-minute ranking alone, kept the five-minute one in order
// behind its sentinel, and put `reached` (the score the run reached) among the kept ten
// unless it fell below all of them. A hit may come after grazes in its own frame, so the
// score recorded may be a little higher than the last one shown.
std::string CheckRanking(const SaveRecord& before, const SaveRecord& after, int32_t reached);

// The file holds exactly the record's 100 bytes.
std::string CheckSaveFile(const char* path, const SaveRecord& expected);
