#include "tests/soak/SoakChecks.h"

#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <vector>

namespace {

// An effect gets another voice whenever all of its voices are sounding, and keeps it: a copy
// of the clip. Effects are short, so one voice holds less than this.
constexpr size_t kLargestVoice = 256 << 10;
// The allocator's own bookkeeping may move a little between two visits to the title.
constexpr size_t kHeapSlack = 64 << 10;

}  // namespace

size_t HeapInUse()
{
    struct mallinfo2 info = mallinfo2();
    // Big blocks (the decoded music) are mapped apart from the arena.
    return info.uordblks + info.hblkhd;
}

std::string CheckHeap(size_t before, size_t after, int newVoices)
{
    if (before == 0 || after <= before + kHeapSlack + newVoices * kLargestVoice)
        return {};
    return "the heap grew by " + std::to_string((after - before) >> 10) + " KiB with " +
           std::to_string(newVoices) + " new voices";
}

std::string CheckRanking(const SaveRecord& before, const SaveRecord& after, int32_t reached)
{
    if (std::memcmp(&before.tables[0], &after.tables[0], sizeof(HighScoreTable)) != 0)
        return "a five-minute run changed the one-minute ranking";
    const int32_t* kept = after.tables[1].scores + 1;
    if (!std::is_sorted(kept, kept + 10) || kept[10] != HighScoreTable::kSentinel)
        return "the five-minute ranking is out of order or lost its sentinel";
    // One score in and the lowest one out, or nothing changed.
    std::vector<int32_t> old(before.tables[1].scores + 1, before.tables[1].scores + 11);
    std::sort(old.begin(), old.end());
    std::vector<int32_t> added, dropped;
    std::set_difference(kept, kept + 10, old.begin(), old.end(), std::back_inserter(added));
    std::set_difference(old.begin(), old.end(), kept, kept + 10, std::back_inserter(dropped));
    if (added.empty())
        return reached > kept[0] ? "the score " + std::to_string(reached) + " is missing" : "";
    if (added.size() != 1 || dropped.size() != 1 || dropped[0] != old[0] || added[0] < reached)
        return "the ranking changed by more than the run's score " + std::to_string(reached);
    return {};
}

std::string CheckSaveFile(const char* path, const SaveRecord& expected)
{
    unsigned char bytes[sizeof(SaveRecord) + 1];
    FILE* file = std::fopen(path, "rb");
    if (!file)
        return std::string(path) + " is missing";
    size_t got = std::fread(bytes, 1, sizeof bytes, file);
    std::fclose(file);
    if (got != sizeof(SaveRecord) || std::memcmp(bytes, &expected, sizeof expected) != 0)
        return std::string(path) + " (" + std::to_string(got) +
               " bytes) differs from the scores in memory";
    return {};
}
