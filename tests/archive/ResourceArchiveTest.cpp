#include <cstring>
#include <deque>
#include <filesystem>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "archive/ArchiveFormat.h"
#include "archive/ResourceArchive.h"
#include "tests/archive/TestFiles.h"

using namespace testfiles;

namespace {

// Bytes 1, 2, 3, ... (mod 251, never 0) so that a read from the wrong place shows.
Bytes DataOf(size_t size)
{
    Bytes data(size);
    for (size_t i = 0; i < size; ++i)
        data[i] = static_cast<uint8_t>(i % 251 + 1);
    return data;
}

class ArchiveTest : public testing::Test {
protected:
    // An archive "pack" over copies of the bytes, kept as long as the test runs.
    std::unique_ptr<ResourceArchive> Make(const Bytes& index, const Bytes& data)
    {
        const Bytes& keptIndex = kept.emplace_back(index);
        const Bytes& keptData = kept.emplace_back(data);
        return std::make_unique<ResourceArchive>("pack", keptIndex, keptData);
    }
    std::unique_ptr<ResourceArchive> Make(const Records& records, size_t dataSize)
    {
        return Make(IndexOf(records), DataOf(dataSize));
    }
    static Bytes ReadBytes(ResourceArchive& archive, uint32_t count)
    {
        Bytes bytes(count, 0xEE);
        archive.Read(bytes.data(), count);
        return bytes;
    }

    std::deque<Bytes> kept;  // a deque keeps the bytes in place as it grows
};

TEST_F(ArchiveTest, EntriesRunToTheNextOffsetAndReadsStopAtTheirEnd)
{
    auto archive =
        Make({{"logo.bmp", 0}, {"se_fire.mp3", 100}, {"empty", 250}, {"tail", 250}}, 300);
    ASSERT_EQ(archive->error(), "");
    Bytes data = DataOf(300);
    ASSERT_EQ(archive->Open("empty"), 1);
    EXPECT_EQ(archive->entrySize, 0u);
    ASSERT_EQ(archive->Open("tail"), 1);
    EXPECT_EQ(archive->entrySize, 50u);

    // Reads follow one another; past the entry's end come zeros, never the next entry.
    ASSERT_EQ(archive->Open("se_fire.mp3"), 1);
    EXPECT_EQ(archive->entrySize, 150u);
    const std::span<const uint8_t> entry = archive->EntryBytes();
    EXPECT_EQ(entry.data(), kept.back().data() + 100) << "the entry is read in place";
    EXPECT_EQ(entry.size(), 150u);
    Bytes read = ReadBytes(*archive, 3), more = ReadBytes(*archive, 140);
    read.insert(read.end(), more.begin(), more.end());
    EXPECT_EQ(read, Bytes(data.begin() + 100, data.begin() + 243));
    EXPECT_EQ(archive->Remaining(), 7u);
    Bytes expected(data.begin() + 243, data.begin() + 250);
    expected.resize(10, 0);
    EXPECT_EQ(ReadBytes(*archive, 10), expected);
    EXPECT_EQ(ReadBytes(*archive, 5), Bytes(5, 0));
    EXPECT_EQ(archive->EntryBytes().data(), entry.data()) << "wherever the cursor stands";
    EXPECT_EQ(archive->EntryBytes().size(), 150u);
    archive->Close();
    EXPECT_EQ(archive->isOpen, 0);
}

TEST_F(ArchiveTest, NamesMatchExactlyAndTheFirstOfTwoWins)
{
    auto archive = Make({{"logo.bmp", 0}, {"logo.bmp", 100}, {"logo.bmpx", 200}}, 300);
    ASSERT_EQ(archive->Open("logo.bmp"), 1);
    EXPECT_EQ(archive->entrySize, 100u);
    EXPECT_EQ(ReadBytes(*archive, 1), Bytes{1});
    const unsigned char* cursor = archive->cursor;
    const std::string others[] = {"LOGO.BMP", "logo.bm", "", std::string(300, 'x')};
    for (const std::string& name : others)
        EXPECT_EQ(archive->Open(name.c_str()), 0) << name;
    // A name that is not found changes nothing.
    EXPECT_EQ(archive->cursor, cursor);
    EXPECT_EQ(archive->entrySize, 100u);
}

TEST_F(ArchiveTest, TheRecordCountComesFromTheIndexSizeInWholeRecords)
{
    Bytes ragged = IndexOf({{"logo.bmp", 0}});
    ragged.resize(2 * kArchiveRecordSize - 1, 0x55);
    auto archive = Make(ragged, DataOf(40));
    EXPECT_EQ(archive->error(), "");
    ASSERT_EQ(archive->Open("logo.bmp"), 1);
    EXPECT_EQ(archive->entrySize, 40u) << "the stray bytes are not a record";

    ragged.resize(kArchiveRecordSize - 1);
    EXPECT_EQ(Make(ragged, DataOf(40))->Open("logo.bmp"), 0);
    archive = Make(Bytes{}, Bytes{});
    EXPECT_EQ(archive->error(), "");
    EXPECT_EQ(archive->Open("logo.bmp"), 0);

    archive = Make({{"nothing", 0}}, 0);
    ASSERT_EQ(archive->Open("nothing"), 1);
    EXPECT_EQ(ReadBytes(*archive, 4), Bytes(4, 0));
}

TEST_F(ArchiveTest, AMissingFileOrADamagedIndexIsReportedAndServesNothing)
{
    // Opened by path, the lines name the files by the paths they were looked for at.
    TempFolder folder;
    const std::string base = folder / "pack", set = base + ".set", dat = base + ".dat";
    WriteFile(dat, DataOf(10));
    EXPECT_EQ(ResourceArchive(base.c_str()).error(), set + ": No such file or directory");
    std::filesystem::remove(dat);
    WriteFile(set, IndexOf({{"a", 0}}));
    {
        // Closed before the files change: Windows refuses to rewrite a file while it is mapped.
        ResourceArchive noData(base.c_str());
        EXPECT_EQ(noData.error(), dat + ": No such file or directory");
        EXPECT_EQ(noData.Open("a"), 0);
    }
    WriteFile(set, IndexOf({{"a", 0}, {"b", 20}}));
    WriteFile(dat, DataOf(10));
    ResourceArchive damagedFiles(base.c_str());
    EXPECT_EQ(damagedFiles.error(),
              set + ": entry 'b' starts at 20, past the end of " + dat + " (10 bytes)");
    EXPECT_EQ(damagedFiles.Open("a"), 0);

    // Over bytes, they name the pair by the base name given.
    Bytes unended = IndexOf({{"a", 0}, {"b", 1}});
    std::memset(&unended[kArchiveRecordSize], 'z', kArchiveNameSize);
    const struct {
        Bytes index;
        std::string error;
    } cases[] = {
        {IndexOf({{"a", 0}, {"logo.bmp", 5000}}),
         "pack.set: entry 'logo.bmp' starts at 5000, past the end of pack.dat (4000 bytes)"},
        {IndexOf({{"a", 0}, {"b", 300}, {"c", 200}}),
         "pack.set: entry 'c' starts at 200, before the entry ahead of it (at 300)"},
        {IndexOf({{"a", 0}, {"far", 0xFFFFFFFFu}}),
         "pack.set: entry 'far' starts at 4294967295, past the end of pack.dat (4000 bytes)"},
        {unended, "pack.set: record 1 has no name ending within 256 bytes"},
    };
    for (const auto& damaged : cases) {
        auto archive = Make(damaged.index, DataOf(4000));
        EXPECT_EQ(archive->error(), damaged.error);
        for (const char* name : {"a", "b", "c", "logo.bmp", "far"})
            EXPECT_EQ(archive->Open(name), 0) << name;
        EXPECT_EQ(ReadBytes(*archive, 16), Bytes(16, 0));
        EXPECT_TRUE(archive->EntryBytes().empty());
    }
}

TEST_F(ArchiveTest, ACursorMovedByTheCallerNeverLeavesTheEntry)
{
    auto archive = Make({{"a", 0}, {"b", 10}, {"c", 20}}, 30);
    ASSERT_EQ(archive->Open("b"), 1);
    const unsigned char* start = archive->cursor;
    archive->cursor = start - 5;
    EXPECT_EQ(ReadBytes(*archive, 4), Bytes(4, 0));
    archive->cursor = start + 1000;
    EXPECT_EQ(ReadBytes(*archive, 4), Bytes(4, 0));
    archive->cursor = start + 8;
    archive->entrySize = 1000000;
    EXPECT_EQ(ReadBytes(*archive, 4), (Bytes{19, 20, 0, 0}));
}

}  // namespace
