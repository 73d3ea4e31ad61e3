// The packer: what it packs comes back out of the game's archive reader byte for byte, in name
// order, the same every time; what it refuses leaves no file behind and an older archive
// untouched; and unpacking never writes outside the folder it is given.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "archive/ArchiveFormat.h"
#include "archive/ResourceArchive.h"
#include "tools/pack/Packer.h"

namespace fs = std::filesystem;

namespace {

std::string Slurp(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Spit(const fs::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

class Packing : public ::testing::Test {
protected:
    void SetUp() override
    {
        root = fs::temp_directory_path() /
               ("korimo-pack-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(root);
        fs::create_directories(root / "in");
    }
    void TearDown() override { fs::remove_all(root); }

    std::string Base(const char* name = "out") const { return (root / name).string(); }
    // Every file in the work folder outside "in", by name.
    std::vector<std::string> Written() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::recursive_directory_iterator(root))
            if (entry.is_regular_file() && entry.path().parent_path() != root / "in")
                names.push_back(fs::relative(entry.path(), root).string());
        return names;
    }

    fs::path root;
};

TEST_F(Packing, FilesComeBackInNameOrderByteForByte)
{
    std::string binary;
    for (int i = 0; i < 3000; ++i) binary += static_cast<char>(i * 7 % 256);
    const std::vector<std::pair<std::string, std::string>> files = {
        {"zeta.bmp", binary}, {"alpha.mp3", "ID3 and more"}, {"empty", ""},
        {std::string(kArchiveNameSize - 1, 'n'), "the longest name the index holds"}};
    for (const auto& [name, bytes] : files) Spit(root / "in" / name, bytes);

    std::string error;
    ASSERT_TRUE(PackFolders({(root / "in").string()}, Base(), error)) << error;
    ResourceArchive archive(Base().c_str());
    ASSERT_EQ(archive.error(), "");
    ASSERT_EQ(archive.EntryCount(), files.size());
    std::vector<std::string> order;
    for (uint32_t i = 0; i < archive.EntryCount(); ++i) {
        archive.OpenEntry(i);
        order.push_back(reinterpret_cast<const char*>(archive.record));
    }
    EXPECT_TRUE(std::is_sorted(order.begin(), order.end()));
    for (const auto& [name, bytes] : files) {
        ASSERT_EQ(archive.Open(name.c_str()), 1) << name;
        std::string stored(archive.entrySize, '\0');
        archive.Read(stored.data(), archive.entrySize);
        EXPECT_EQ(stored, bytes) << name;
    }

    // Unpacked again, every file is as it was.
    ASSERT_TRUE(ExtractArchive(Base(), (root / "back").string(), "", error)) << error;
    for (const auto& [name, bytes] : files) EXPECT_EQ(Slurp(root / "back" / name), bytes) << name;
    ASSERT_TRUE(ExtractArchive(Base(), (root / "one").string(), "alpha.mp3", error)) << error;
    EXPECT_EQ(Slurp(root / "one" / "alpha.mp3"), "ID3 and more");
    EXPECT_FALSE(ExtractArchive(Base(), (root / "none").string(), "missing.bmp", error));
    EXPECT_NE(error.find("missing.bmp"), std::string::npos) << error;
}

TEST_F(Packing, TheSameFilesGiveTheSameArchive)
{
    fs::create_directories(root / "other");
    for (const char* name : {"b.bmp", "a.bmp", "c.mp3"}) Spit(root / "in" / name, name);
    // The same files, written in another order into another folder.
    for (const char* name : {"c.mp3", "a.bmp", "b.bmp"}) Spit(root / "other" / name, name);
    std::string error;
    ASSERT_TRUE(PackFolders({(root / "in").string()}, Base("first"), error)) << error;
    ASSERT_TRUE(PackFolders({(root / "other").string()}, Base("second"), error)) << error;
    EXPECT_EQ(Slurp(Base("first") + ".set"), Slurp(Base("second") + ".set"));
    EXPECT_EQ(Slurp(Base("first") + ".dat"), Slurp(Base("second") + ".dat"));
}

TEST_F(Packing, RefusalsWriteNothingAndKeepTheOldArchive)
{
    Spit(root / "in" / "logo.bmp", "new logo");
    fs::create_directories(root / "more");
    Spit(root / "more" / "logo.bmp", "another logo");
    Spit(root / "out.set", "old index");
    Spit(root / "out.dat", "old data");
    std::string error;

    // The same name in two folders: which one the game would get is anybody's guess.
    EXPECT_FALSE(PackFolders({(root / "in").string(), (root / "more").string()}, Base(), error));
    EXPECT_NE(error.find("logo.bmp"), std::string::npos) << error;
    // A folder that can't be read, and a folder with nothing in it.
    EXPECT_FALSE(PackFolders({(root / "in").string(), (root / "gone").string()}, Base(), error));
    EXPECT_NE(error.find("gone"), std::string::npos) << error;
    fs::create_directories(root / "bare");
    EXPECT_FALSE(PackFolders({(root / "bare").string()}, Base(), error));

    EXPECT_EQ(Slurp(root / "out.set"), "old index");
    EXPECT_EQ(Slurp(root / "out.dat"), "old data");
    std::vector<std::string> written = Written();
    std::sort(written.begin(), written.end());
    EXPECT_EQ(written, (std::vector<std::string>{"more/logo.bmp", "out.dat", "out.set"}));
}

TEST_F(Packing, UnpackingStaysInsideItsFolder)
{
    // An archive made elsewhere, whose names try to climb out of the folder.
    std::string index(2 * kArchiveRecordSize, '\0');
    index.replace(0, 9, "../escape");
    index.replace(kArchiveRecordSize, 5, "a/b.c");
    index[kArchiveRecordSize + kArchiveNameSize] = 4;
    Spit(root / "evil.set", index);
    Spit(root / "evil.dat", "boomboom");
    std::string error;
    EXPECT_FALSE(ExtractArchive(Base("evil"), (root / "x" / "y").string(), "", error));
    EXPECT_NE(error.find("../escape"), std::string::npos) << error;
    EXPECT_FALSE(fs::exists(root / "x" / "escape"));
    EXPECT_FALSE(ExtractArchive(Base("evil"), (root / "x" / "y").string(), "a/b.c", error));
    EXPECT_FALSE(fs::exists(root / "x" / "y" / "a"));

    // A damaged archive is named in the message rather than read.
    Spit(root / "broken.set", std::string(kArchiveRecordSize, 'x'));
    Spit(root / "broken.dat", "");
    EXPECT_FALSE(ListArchive(Base("broken"), stdout, error));
    EXPECT_NE(error.find("broken.set"), std::string::npos) << error;
}

}  // namespace
