#include "tests/soak/SoakChecks.h"

#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <vector>

#include "tests/soak/SoakSession.h"

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

std::string CheckScoreTable(const HighScoreTable& table)
{
    for (int i = 1; i < 10; ++i) {
        if (table.scores[i] > table.scores[i + 1])
            return "rank " + std::to_string(11 - i) + " (" + std::to_string(table.scores[i]) +
                   ") is above rank " + std::to_string(10 - i) + " (" +
                   std::to_string(table.scores[i + 1]) + ")";
    }
    if (table.scores[11] != HighScoreTable::kSentinel)
        return "the sentinel is " + std::to_string(table.scores[11]);
    return {};
}

std::optional<int32_t> InsertedScore(const HighScoreTable& before, const HighScoreTable& after,
                                     std::string& fault)
{
    std::vector<int32_t> old(before.scores + 1, before.scores + 11);
    std::vector<int32_t> now(after.scores + 1, after.scores + 11);
    std::sort(old.begin(), old.end());
    std::sort(now.begin(), now.end());
    std::vector<int32_t> added, dropped;
    std::set_difference(now.begin(), now.end(), old.begin(), old.end(), std::back_inserter(added));
    std::set_difference(old.begin(), old.end(), now.begin(), now.end(),
                        std::back_inserter(dropped));
    fault.clear();
    if (added.empty() && dropped.empty())
        return std::nullopt;
    // One new score in, the lowest old one out.
    if (added.size() != 1 || dropped.size() != 1 || dropped[0] != old.front() ||
        added[0] < dropped[0]) {
        fault = "the kept scores changed by more than one insertion";
        return std::nullopt;
    }
    return added[0];
}

std::string CheckRanking(const SaveRecord& before, const SaveRecord& after,
                         const RunReport& report)
{
    const HighScoreTable& table = after.tables[1];
    std::string fault = CheckScoreTable(table);
    if (!fault.empty())
        return "five-minute ranking: " + fault;
    if (std::memcmp(&before.tables[0], &after.tables[0], sizeof(HighScoreTable)) != 0)
        return "a five-minute run changed the one-minute ranking";
    std::optional<int32_t> inserted = InsertedScore(before.tables[1], table, fault);
    if (!fault.empty())
        return "five-minute ranking: " + fault;

    // A hit may come after grazes in its own frame, so the score recorded can be higher than
    // the last one shown; the end by time comes before anything else in its frame.
    int32_t reached = report.byTime ? report.runScore : report.lastScore;
    if (!inserted) {
        if (reached > table.scores[1])
            return "the score " + std::to_string(reached) + " is missing from the ranking";
        return {};
    }
    if (report.byTime && *inserted != report.runScore)
        return "the ranking got " + std::to_string(*inserted) + ", the ending shows " +
               std::to_string(report.runScore);
    if (*inserted < reached)
        return "the ranking got " + std::to_string(*inserted) + ", less than the score " +
               std::to_string(reached) + " the run reached";
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
    if (got != sizeof(SaveRecord))
        return std::string(path) + " holds " + (got > sizeof(SaveRecord) ? "more than " : "") +
               std::to_string(got) + " bytes, not 100";
    if (std::memcmp(bytes, &expected, sizeof expected) != 0)
        return std::string(path) + " differs from the scores in memory";
    return {};
}
