// The packer: what it packs comes back out of the game's archive reader byte for byte, in name
// order, the same every time; what it refuses leaves no file behind and an older archive
// untouched; and unpacking never writes outside the folder it is given.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "archive/ArchiveFormat.h"
#include "archive/ResourceArchive.h"
#include "tests/archive/TestFiles.h"
#include "tools/pack/Packer.h"

using namespace testfiles;
namespace fs = std::filesystem;

namespace {

std::string Slurp(const std::string& path)
{
    Bytes bytes = ReadFile(path);
    return {bytes.begin(), bytes.end()};
}

void Spit(const std::string& path, const std::string& text)
{
    WriteFile(path, Bytes(text.begin(), text.end()));
}

TEST(Packer, FilesComeBackInNameOrderByteForByteTheSameEveryTime)
{
    TempFolder root;
    std::string binary;
    for (int i = 0; i < 3000; ++i)
        binary += static_cast<char>(i * 7 % 256);
    const std::vector<std::pair<std::string, std::string>> files = {
        {"zeta.bmp", binary}, {"alpha.mp3", "ID3 and more"}, {"empty", ""},
        {std::string(kArchiveNameSize - 1, 'n'), "the longest name the index holds"}};
    fs::create_directories(root / "in");
    fs::create_directories(root / "other");
    for (const auto& [name, bytes] : files)
        Spit(root / "in/" + name, bytes);
    // The same files, written in the other order into another folder.
    for (auto file = files.rbegin(); file != files.rend(); ++file)
        Spit(root / "other/" + file->first, file->second);

    std::string error;
    ASSERT_TRUE(PackFolders({root / "in"}, root / "out", error)) << error;
    ASSERT_TRUE(PackFolders({root / "other"}, root / "again", error)) << error;
    EXPECT_EQ(Slurp(root / "out.set"), Slurp(root / "again.set"));
    EXPECT_EQ(Slurp(root / "out.dat"), Slurp(root / "again.dat"));

    ResourceArchive archive((root / "out").c_str());
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
    ASSERT_TRUE(ExtractArchive(root / "out", root / "back", "", error)) << error;
    for (const auto& [name, bytes] : files)
        EXPECT_EQ(Slurp(root / "back/" + name), bytes) << name;
    ASSERT_TRUE(ExtractArchive(root / "out", root / "one", "alpha.mp3", error)) << error;
    EXPECT_EQ(Slurp(root / "one/alpha.mp3"), "ID3 and more");
    EXPECT_FALSE(ExtractArchive(root / "out", root / "none", "missing.bmp", error));
    EXPECT_NE(error.find("missing.bmp"), std::string::npos) << error;
}

TEST(Packer, RefusalsWriteNothingAndKeepTheOldArchive)
{
    TempFolder root;
    for (const char* folder : {"in", "more", "bare"})
        fs::create_directories(root / folder);
    Spit(root / "in/logo.bmp", "new logo");
    Spit(root / "more/logo.bmp", "another logo");
    Spit(root / "out.set", "old index");
    Spit(root / "out.dat", "old data");
    std::string error;
    // The same name in two folders: which one the game would get is anybody's guess.
    EXPECT_FALSE(PackFolders({root / "in", root / "more"}, root / "out", error));
    EXPECT_NE(error.find("logo.bmp"), std::string::npos) << error;
    // A folder that can't be read, and a folder with nothing in it.
    EXPECT_FALSE(PackFolders({root / "in", root / "gone"}, root / "out", error));
    EXPECT_NE(error.find("gone"), std::string::npos) << error;
    EXPECT_FALSE(PackFolders({root / "bare"}, root / "out", error));

    EXPECT_EQ(Slurp(root / "out.set"), "old index");
    EXPECT_EQ(Slurp(root / "out.dat"), "old data");
    std::vector<std::string> written;
    for (const auto& entry : fs::recursive_directory_iterator(root.path))
        written.push_back(fs::relative(entry.path(), root.path).string());
    std::sort(written.begin(), written.end());
    EXPECT_EQ(written, (std::vector<std::string>{"bare", "in", "in/logo.bmp", "more",
                                                 "more/logo.bmp", "out.dat", "out.set"}));
}

TEST(Packer, UnpackingRefusesNamesThatLeaveItsFolderAndDamagedArchives)
{
    TempFolder root;
    Bytes index = IndexOf({{"../escape", 0}, {"a/b.c", 4}});
    WriteFile(root / "evil.set", index);
    Spit(root / "evil.dat", "boomboom");
    std::string error;
    EXPECT_FALSE(ExtractArchive(root / "evil", root / "x/y", "", error));
    EXPECT_NE(error.find("../escape"), std::string::npos) << error;
    EXPECT_FALSE(fs::exists(root / "x/escape"));
    EXPECT_FALSE(ExtractArchive(root / "evil", root / "x/y", "a/b.c", error));
    EXPECT_FALSE(fs::exists(root / "x/y/a"));

    Spit(root / "broken.set", std::string(kArchiveRecordSize, 'x'));
    Spit(root / "broken.dat", "");
    EXPECT_FALSE(ListArchive(root / "broken", stdout, error));
    EXPECT_NE(error.find("broken.set"), std::string::npos) << error;
}

}  // namespace
