#pragma once
// What the soak checks after every run, back on the title: the heap in use, the rankings and
// the save file the game wrote.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "app/SaveRecord.h"

struct RunReport;

// Bytes the heap has handed out and not taken back; 0 when the allocator cannot tell (the
// sanitizers replace it, and find leaks themselves).
size_t HeapInUse();

// Empty when the heap on the title came back to where it was, but for the voices the game
// made during the run and keeps by design; else by how much it grew.
std::string CheckHeap(size_t before, size_t after, int newVoices);

// Empty when the kept ten are in ascending order and the sentinel stands behind them; else
// what is wrong.
std::string CheckScoreTable(const HighScoreTable& table);

// The score one insertion added to the kept ten, found by comparing them before and after.
// Nullopt with an empty fault when nothing changed (the score fell below all ten); a fault
// when the two differ by more than one insertion.
std::optional<int32_t> InsertedScore(const HighScoreTable& before, const HighScoreTable& after,
                                     std::string& fault);

// Empty when a five-minute run left the one-minute ranking alone and put its score where the
// five-minute ranking wants it: among the kept ten, in order, or below all of them.
std::string CheckRanking(const SaveRecord& before, const SaveRecord& after,
                         const RunReport& report);

// Empty when the file holds exactly the record's 100 bytes; else what differs.
std::string CheckSaveFile(const char* path, const SaveRecord& expected);
