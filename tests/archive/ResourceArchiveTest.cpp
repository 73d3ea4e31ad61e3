#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "archive/ArchiveFormat.h"
#include "archive/ResourceArchive.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<unsigned char>;

struct Record {
    std::string name;
    uint32_t offset;
};

Bytes IndexOf(const std::vector<Record>& records)
{
    Bytes index;
    for (const Record& record : records) {
        Bytes bytes(kArchiveRecordSize, 0);
        std::memcpy(bytes.data(), record.name.data(), record.name.size());
        for (int i = 0; i < 4; ++i)
            bytes[kArchiveNameSize + i] = static_cast<unsigned char>(record.offset >> (8 * i));
        index.insert(index.end(), bytes.begin(), bytes.end());
    }
    return index;
}

// Bytes 1, 2, 3, ... (mod 251, never 0) so that a read from the wrong place shows.
Bytes DataOf(size_t size)
{
    Bytes data(size);
    for (size_t i = 0; i < size; ++i)
        data[i] = static_cast<unsigned char>(i % 251 + 1);
    return data;
}

class ArchiveTest : public testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "korimo-archive-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder = pattern;
        base = (folder / "pack").string();
    }
    void TearDown() override { fs::remove_all(folder); }

    static void Write(const std::string& path, const Bytes& bytes)
    {
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    std::unique_ptr<ResourceArchive> Make(const Bytes& index, const Bytes& data)
    {
        Write(base + ".set", index);
        Write(base + ".dat", data);
        return std::make_unique<ResourceArchive>(base.c_str());
    }
    std::unique_ptr<ResourceArchive> Make(const std::vector<Record>& records, size_t dataSize)
    {
        return Make(IndexOf(records), DataOf(dataSize));
    }

    static Bytes ReadBytes(ResourceArchive& archive, uint32_t count)
    {
        Bytes bytes(count, 0xEE);
        archive.Read(bytes.data(), count);
        return bytes;
    }

    fs::path folder;
    std::string base;
};

TEST_F(ArchiveTest, EntriesRunToTheNextOffsetAndTheLastToTheEndOfTheData)
{
    auto archive = Make({{"logo.bmp", 0}, {"se_fire.mp3", 100}, {"empty", 250}, {"tail", 250}},
                        300);
    ASSERT_EQ(archive->error(), "");
    Bytes data = DataOf(300);

    ASSERT_EQ(archive->Open("se_fire.mp3"), 1);
    EXPECT_EQ(archive->isOpen, 1);
    EXPECT_EQ(archive->entrySize, 150u);
    EXPECT_EQ(ReadBytes(*archive, 150), Bytes(data.begin() + 100, data.begin() + 250));

    ASSERT_EQ(archive->Open("empty"), 1);
    EXPECT_EQ(archive->entrySize, 0u);

    ASSERT_EQ(archive->Open("tail"), 1);
    EXPECT_EQ(archive->entrySize, 50u);
    EXPECT_EQ(std::memcmp(archive->record, "tail", 5), 0);

    archive->Close();
    EXPECT_EQ(archive->isOpen, 0);
}

TEST_F(ArchiveTest, ReadsAdvanceInOrderAndStopAtTheEndOfTheEntry)
{
    auto archive = Make({{"a", 0}, {"b", 10}}, 30);
    Bytes data = DataOf(30);
    ASSERT_EQ(archive->Open("a"), 1);

    Bytes first = ReadBytes(*archive, 3);
    Bytes second = ReadBytes(*archive, 3);
    first.insert(first.end(), second.begin(), second.end());
    EXPECT_EQ(first, Bytes(data.begin(), data.begin() + 6));
    EXPECT_EQ(archive->Remaining(), 4u);

    // Asking for more than is left gives the rest of this entry, then zeros; never the bytes
    // of the next entry.
    Bytes rest = ReadBytes(*archive, 8);
    Bytes expected(data.begin() + 6, data.begin() + 10);
    expected.resize(8, 0);
    EXPECT_EQ(rest, expected);
    EXPECT_EQ(archive->Remaining(), 0u);
    EXPECT_EQ(ReadBytes(*archive, 5), Bytes(5, 0));
}

TEST_F(ArchiveTest, NamesMatchExactlyAndTheFirstOfTwoWins)
{
    auto archive = Make({{"logo.bmp", 0}, {"logo.bmp", 100}, {"logo.bmpx", 200}}, 300);
    ASSERT_EQ(archive->Open("logo.bmp"), 1);
    EXPECT_EQ(archive->entrySize, 100u);
    EXPECT_EQ(ReadBytes(*archive, 1), Bytes{1});

    const unsigned char* cursor = archive->cursor;
    EXPECT_EQ(archive->Open("LOGO.BMP"), 0);
    EXPECT_EQ(archive->Open("logo.bm"), 0);
    EXPECT_EQ(archive->Open(""), 0);
    EXPECT_EQ(archive->Open(std::string(300, 'x').c_str()), 0);
    // A name that is not found changes nothing.
    EXPECT_EQ(archive->cursor, cursor);
    EXPECT_EQ(archive->entrySize, 100u);
}

TEST_F(ArchiveTest, TheIndexHoldsOnlyWholeRecords)
{
    Bytes one = IndexOf({{"logo.bmp", 0}});
    Bytes ragged = one;
    ragged.resize(519, 0x55);
    auto archive = Make(ragged, DataOf(40));
    EXPECT_EQ(archive->error(), "");
    ASSERT_EQ(archive->Open("logo.bmp"), 1);
    EXPECT_EQ(archive->entrySize, 40u) << "the stray bytes are not a record";

    one.resize(259);
    archive = Make(one, DataOf(40));
    EXPECT_EQ(archive->error(), "");
    EXPECT_EQ(archive->Open("logo.bmp"), 0);

    archive = Make(Bytes{}, Bytes{});
    EXPECT_EQ(archive->error(), "");
    EXPECT_EQ(archive->Open("logo.bmp"), 0);
}

TEST_F(ArchiveTest, AnEmptyDataFileServesEmptyEntries)
{
    auto archive = Make({{"nothing", 0}}, 0);
    ASSERT_EQ(archive->error(), "");
    ASSERT_EQ(archive->Open("nothing"), 1);
    EXPECT_EQ(archive->entrySize, 0u);
    EXPECT_EQ(ReadBytes(*archive, 4), Bytes(4, 0));
}

TEST_F(ArchiveTest, AMissingFileIsReportedByName)
{
    Write(base + ".dat", DataOf(10));
    ResourceArchive noIndex(base.c_str());
    EXPECT_EQ(noIndex.error(), base + ".set: No such file or directory");
    EXPECT_EQ(noIndex.Open("a"), 0);

    fs::remove(base + ".dat");
    Write(base + ".set", IndexOf({{"a", 0}}));
    ResourceArchive noData(base.c_str());
    EXPECT_EQ(noData.error(), base + ".dat: No such file or directory");
    EXPECT_EQ(noData.Open("a"), 0);
    EXPECT_EQ(noData.Remaining(), 0u);
}

TEST_F(ArchiveTest, ADamagedIndexIsReportedAndServesNothing)
{
    struct Case {
        std::vector<Record> records;
        std::string error;
    };
    const std::string set = base + ".set", dat = base + ".dat";
    const Case cases[] = {
        {{{"a", 0}, {"logo.bmp", 5000}},
         set + ": entry 'logo.bmp' starts at 5000, past the end of " + dat + " (4000 bytes)"},
        {{{"a", 0}, {"b", 300}, {"c", 200}},
         set + ": entry 'c' starts at 200, before the entry ahead of it (at 300)"},
        {{{"a", 0}, {"far", 0xFFFFFFFFu}},
         set + ": entry 'far' starts at 4294967295, past the end of " + dat + " (4000 bytes)"},
    };
    for (const Case& damaged : cases) {
        auto archive = Make(damaged.records, 4000);
        EXPECT_EQ(archive->error(), damaged.error);
        for (const Record& record : damaged.records)
            EXPECT_EQ(archive->Open(record.name.c_str()), 0) << record.name;
        EXPECT_EQ(ReadBytes(*archive, 16), Bytes(16, 0));
    }
}

TEST_F(ArchiveTest, ANameWithoutItsEndIsReported)
{
    Bytes index = IndexOf({{"a", 0}, {"b", 1}});
    std::memset(index.data() + kArchiveRecordSize, 'z', kArchiveNameSize);
    auto archive = Make(index, DataOf(10));
    EXPECT_EQ(archive->error(), base + ".set: record 1 has no name ending within 256 bytes");
    EXPECT_EQ(archive->Open("a"), 0);
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
