#pragma once
// The 100-byte save record "korimo.sav": the chosen game length and the ten best scores of
// each length, 25 little-endian signed 32-bit integers stored exactly as in memory.

#include <cstdint>

struct HighScoreTable {
    static constexpr int32_t kSentinel = 0x7FFFFFFF;

    // [0] receives a new score before sorting (afterwards the lowest of eleven), [1..10] the
    // kept scores ascending ([10] is rank 1), [11] the sentinel written before every sort.
    int32_t scores[12];

    void Insert(int32_t score);
    int32_t Best() const { return scores[10]; }
};

struct SaveRecord {
    int32_t gameMode;  // 0 = one-minute game, 1 = five-minute game
    HighScoreTable tables[2];

    // The file may hold any integer as the mode; anything but 1 counts as the one-minute game.
    HighScoreTable& CurrentTable() { return tables[gameMode == 1 ? 1 : 0]; }

    // Zeros, then as many bytes as the file holds (at most 100). Never fails.
    void Load(const char* path);
    // Replaces the file safely (temporary file, then rename). False on failure, old file kept.
    bool Save(const char* path) const;
};
static_assert(sizeof(SaveRecord) == 100);

extern SaveRecord saveRecord;
constexpr const char* kSaveFileName = "korimo.sav";
