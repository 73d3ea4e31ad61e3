#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

#include "app/SaveRecord.h"

namespace {

namespace fs = std::filesystem;

class SaveFileTest : public testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "korimo-save-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder = pattern;
        path = (folder / "korimo.sav").string();
    }
    void TearDown() override
    {
        fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(folder);
    }

    void WriteFile(const std::vector<unsigned char>& bytes)
    {
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    std::vector<unsigned char> ReadFile()
    {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    std::vector<std::string> FolderContents()
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder))
            names.push_back(entry.path().filename().string());
        return names;
    }

    fs::path folder;
    std::string path;
};

// Bytes 1, 2, 3, ... so that every field of a loaded record tells where it came from.
std::vector<unsigned char> CountingBytes(size_t count)
{
    std::vector<unsigned char> bytes(count);
    for (size_t i = 0; i < count; ++i)
        bytes[i] = static_cast<unsigned char>(i + 1);
    return bytes;
}

std::vector<unsigned char> BytesOf(const SaveRecord& record)
{
    auto* start = reinterpret_cast<const unsigned char*>(&record);
    return {start, start + sizeof record};
}

SaveRecord Garbage()
{
    SaveRecord record;
    std::memset(&record, 0xAB, sizeof record);
    return record;
}

TEST(HighScoreTable, AFirstScoreBecomesRankOneAboveZeros)
{
    HighScoreTable table{};
    table.Insert(500);
    EXPECT_EQ(table.Best(), 500);
    for (int i = 0; i <= 9; ++i)
        EXPECT_EQ(table.scores[i], 0) << "index " << i;
}

TEST(HighScoreTable, KeepsTheTenLargestInAscendingOrder)
{
    HighScoreTable table{};
    const int32_t scores[] = {300, 20, 7000, 45, 1200, 999, 5, 88000, 640, 10, 2500};
    for (int32_t score : scores)
        table.Insert(score);

    std::vector<int32_t> expected(std::begin(scores), std::end(scores));
    std::sort(expected.begin(), expected.end());
    expected.erase(expected.begin());  // the lowest falls out
    EXPECT_EQ(std::vector<int32_t>(table.scores + 1, table.scores + 11), expected);
    EXPECT_EQ(table.scores[0], 5);

    // A score below all ten stays in the incoming slot, and the next insertion overwrites it.
    table.Insert(-20);
    EXPECT_EQ(table.scores[0], -20);
    table.Insert(1);
    EXPECT_EQ(table.scores[0], 1);
    EXPECT_EQ(std::vector<int32_t>(table.scores + 1, table.scores + 11), expected);
}

TEST(HighScoreTable, SortsWhateverADamagedFileHeld)
{
    HighScoreTable table;
    const int32_t damaged[12] = {9, 0x7FFFFFFF, -1, 0x7FFFFFFF, 42, -2147483647 - 1, 3, 3,
                                 100, 7, -5, 12345};
    std::memcpy(table.scores, damaged, sizeof damaged);
    table.Insert(0x7FFFFFFF);

    EXPECT_TRUE(std::is_sorted(table.scores, table.scores + 11));
    EXPECT_EQ(table.scores[11], 0x7FFFFFFF);
    EXPECT_EQ(table.Best(), 0x7FFFFFFF);
    EXPECT_EQ(table.scores[0], -2147483647 - 1);
}

TEST(SaveRecord, TheCurrentTableIsTheOneMinuteTableForAnyModeButOne)
{
    SaveRecord record{};
    record.gameMode = 1;
    EXPECT_EQ(&record.CurrentTable(), &record.tables[1]);
    for (int32_t mode : {0, -1, 2, 1000000})  {
        record.gameMode = mode;
        EXPECT_EQ(&record.CurrentTable(), &record.tables[0]) << "mode " << mode;
    }
}

TEST_F(SaveFileTest, LoadTakesAtMostTheFirstHundredBytesAndZeroesTheRest)
{
    for (size_t size : {size_t{0}, size_t{50}, size_t{100}, size_t{1000}}) {
        std::vector<unsigned char> file = CountingBytes(size);
        WriteFile(file);
        SaveRecord record = Garbage();
        record.Load(path.c_str());

        std::vector<unsigned char> expected(100, 0);
        std::copy_n(file.begin(), std::min<size_t>(size, 100), expected.begin());
        EXPECT_EQ(BytesOf(record), expected) << "file of " << size << " bytes";
    }
}

TEST_F(SaveFileTest, LoadOfAMissingOrUnreadableFileGivesAFreshRecord)
{
    const std::vector<unsigned char> zeros(100, 0);
    SaveRecord record = Garbage();
    record.Load(path.c_str());
    EXPECT_EQ(BytesOf(record), zeros) << "missing file";

    record = Garbage();
    record.Load(folder.string().c_str());
    EXPECT_EQ(BytesOf(record), zeros) << "a folder in place of the file";
}

TEST_F(SaveFileTest, SaveWritesTheHundredBytesThatLoadReadsBack)
{
    SaveRecord saved{};
    saved.gameMode = 1;
    saved.tables[0].Insert(1234);
    saved.tables[1].Insert(-7);
    saved.tables[1].Insert(99999);
    WriteFile(CountingBytes(1000));  // a longer old file is replaced, not overwritten in part

    ASSERT_TRUE(saved.Save(path.c_str()));
    EXPECT_EQ(ReadFile(), BytesOf(saved));
    SaveRecord loaded = Garbage();
    loaded.Load(path.c_str());
    EXPECT_EQ(BytesOf(loaded), BytesOf(saved));
    EXPECT_EQ(FolderContents(), std::vector<std::string>{"korimo.sav"});
}

TEST_F(SaveFileTest, ASaveThatCannotWriteKeepsTheOldFile)
{
    std::vector<unsigned char> old = CountingBytes(100);
    WriteFile(old);
    SaveRecord record{};
    record.tables[0].Insert(777);

    // A file size limit makes the write itself fail, even for a user who may write anywhere.
    struct rlimit previous;
    getrlimit(RLIMIT_FSIZE, &previous);
    struct rlimit tiny = previous;
    tiny.rlim_cur = 10;
    auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &tiny);
    bool saved = record.Save(path.c_str());
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(saved);
    EXPECT_EQ(ReadFile(), old);
    EXPECT_EQ(FolderContents(), std::vector<std::string>{"korimo.sav"});
}

TEST_F(SaveFileTest, ASaveIntoAReadOnlyFolderKeepsTheOldFile)
{
    if (geteuid() == 0) GTEST_SKIP() << "the superuser may write into a read-only folder";
    std::vector<unsigned char> old = CountingBytes(100);
    WriteFile(old);
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);

    SaveRecord record{};
    record.tables[0].Insert(777);
    EXPECT_FALSE(record.Save(path.c_str()));
    EXPECT_EQ(ReadFile(), old);
}

}  // namespace
