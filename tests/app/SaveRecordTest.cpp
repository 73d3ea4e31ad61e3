#include <algorithm>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <vector>

#include <gtest/gtest.h>

#include "app/SaveRecord.h"
#include "platform/Files.h"
#include "tests/archive/TestFiles.h"

using namespace testfiles;

namespace {

namespace fs = std::filesystem;

// Bytes 1, 2, 3, ... so that every field of a loaded record tells where it came from.
Bytes CountingBytes(size_t count)
{
    Bytes bytes(count);
    for (size_t i = 0; i < count; ++i)
        bytes[i] = static_cast<uint8_t>(i + 1);
    return bytes;
}

Bytes BytesOf(const SaveRecord& record)
{
    auto* start = reinterpret_cast<const uint8_t*>(&record);
    return {start, start + sizeof record};
}

SaveRecord Garbage()
{
    SaveRecord record;
    std::memset(&record, 0xAB, sizeof record);
    return record;
}

std::vector<int32_t> Ranking(const HighScoreTable& table)
{
    return {table.scores + 1, table.scores + 11};
}

TEST(HighScoreTable, KeepsTheTenLargestAscendingWithRankOneLast)
{
    HighScoreTable table{};
    const int32_t scores[] = {300, 20, 7000, 45, 1200, 999, 5, 88000, 640, 10, 2500};
    for (int32_t score : scores)
        table.Insert(score);
    std::vector<int32_t> expected(std::begin(scores), std::end(scores));
    std::sort(expected.begin(), expected.end());
    expected.erase(expected.begin());
    EXPECT_EQ(Ranking(table), expected);
    EXPECT_EQ(table.Best(), 88000);
    // A score below all ten stays in the incoming slot, and the next insertion overwrites it.
    EXPECT_EQ(table.scores[0], 5);
    table.Insert(-20);
    EXPECT_EQ(table.scores[0], -20);
    table.Insert(1);
    EXPECT_EQ(table.scores[0], 1);
    EXPECT_EQ(Ranking(table), expected);

    // Whatever a damaged file held comes out sorted, the largest possible score included.
    const int32_t damaged[12] = {9, 0x7FFFFFFF, -1,  0x7FFFFFFF, 42, INT32_MIN,
                                 3, 3,          100, 7,          -5, 12345};
    std::memcpy(table.scores, damaged, sizeof damaged);
    table.Insert(0x7FFFFFFF);
    EXPECT_TRUE(std::is_sorted(table.scores, table.scores + 12));
    EXPECT_EQ(table.Best(), 0x7FFFFFFF);
    EXPECT_EQ(table.scores[0], INT32_MIN);
}

TEST(SaveRecord, AnyModeButOnePicksTheOneMinuteTable)
{
    SaveRecord record{};
    record.gameMode = 1;
    EXPECT_EQ(&record.CurrentTable(), &record.tables[1]);
    for (int32_t mode : {0, -1, 2, 1000000}) {
        record.gameMode = mode;
        EXPECT_EQ(&record.CurrentTable(), &record.tables[0]) << "mode " << mode;
    }
}

TEST(SaveFile, LoadTakesAtMostTheFirstHundredBytesAndZeroesTheRest)
{
    for (size_t size : {0, 50, 100, 1000}) {
        const Bytes file = CountingBytes(size);
        SaveRecord record = Garbage();
        record.Load(file);
        Bytes expected(100, 0);
        std::copy_n(file.begin(), std::min<size_t>(size, 100), expected.begin());
        EXPECT_EQ(BytesOf(record), expected) << "file of " << size << " bytes";
    }
    // A missing file, or a folder in its place, read as the game reads it, gives a fresh record.
    TempFolder folder;
    for (const std::string& missing : {folder / "none.sav", folder.path.string()}) {
        SaveRecord record = Garbage();
        record.Load(MappedFile(missing).bytes());
        EXPECT_EQ(BytesOf(record), Bytes(100, 0)) << missing;
    }
}

TEST(SaveFile, SaveReplacesTheFileWholeOrKeepsTheOldOne)
{
    TempFolder folder;
    const std::string path = folder / "korimo.sav";
    auto contents = [&] {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder.path))
            names.push_back(entry.path().filename().string());
        return names;
    };
    SaveRecord saved{};
    saved.gameMode = 1;
    saved.tables[0].Insert(1234);
    saved.tables[1].Insert(99999);
    WriteFile(path, CountingBytes(1000));  // a longer old file is replaced, not overwritten
    ASSERT_TRUE(saved.Save(path.c_str()));
    EXPECT_EQ(ReadFile(path), BytesOf(saved));
    SaveRecord loaded = Garbage();
    loaded.Load(ReadFile(path));
    EXPECT_EQ(BytesOf(loaded), BytesOf(saved));

    // A file size limit makes the write itself fail, even for a user who may write anywhere.
    const Bytes old = ReadFile(path);
    saved.tables[0].Insert(777);
    struct rlimit previous, tiny;
    getrlimit(RLIMIT_FSIZE, &previous);
    tiny = previous;
    tiny.rlim_cur = 10;
    auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &tiny);
    bool written = saved.Save(path.c_str());
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_FALSE(written);
    EXPECT_EQ(ReadFile(path), old);
    EXPECT_EQ(contents(), std::vector<std::string>{"korimo.sav"});
}

}  // namespace
