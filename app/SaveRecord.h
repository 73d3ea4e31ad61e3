#pragma once
// The 100-byte save record "korimo.sav": the chosen game length and the ten best scores of
// each length, 25 little-endian signed 32-bit integers stored exactly as in memory.

#include <cstdint>
#include <span>

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

    // Zeros, then as many of the file's bytes as there are (at most 100): a short file leaves
    // the rest zero, and no bytes at all (a missing or unreadable file) a zero record. Never
    // fails. Reading the file is the caller's: Load(MappedFile(path).bytes()).
    void Load(std::span<const uint8_t> file);
    // Replaces the file safely (temporary file, then rename). False on failure, old file kept.
    bool Save(const char* path) const;
};
static_assert(sizeof(SaveRecord) == 100);

extern SaveRecord saveRecord;
constexpr const char* kSaveFileName = "korimo.sav";
