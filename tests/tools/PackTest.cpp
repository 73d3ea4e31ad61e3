// The packer: what it packs comes back out of the game's archive reader byte for byte, in name
// order, the same every time; and unpacking never writes outside the folder it is given.

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

TEST(Packer, FilesComeBackInNameOrderByteForByteTheSameEveryTime)
{
    TempFolder root;
    std::string binary;
    for (int i = 0; i < 3000; ++i)
        binary += static_cast<char>(i * 7 % 256);
    const std::vector<std::pair<std::string, std::string>> files = {
        {"zeta.bmp", binary},
        {"alpha.mp3", "ID3 and more"},
        {"empty", ""},
        {std::string(kArchiveNameSize - 1, 'n'), "the longest name the index holds"}};
    fs::create_directories(root / "in");
    fs::create_directories(root / "other");
    for (const auto& [name, bytes] : files)
        WriteText(root / "in/" + name, bytes);
    // The same files, written in the other order into another folder.
    for (auto file = files.rbegin(); file != files.rend(); ++file)
        WriteText(root / "other/" + file->first, file->second);

    std::string error;
    ASSERT_TRUE(PackFolders({root / "in"}, root / "out", error)) << error;
    ASSERT_TRUE(PackFolders({root / "other"}, root / "again", error)) << error;
    EXPECT_EQ(ReadText(root / "out.set"), ReadText(root / "again.set"));
    EXPECT_EQ(ReadText(root / "out.dat"), ReadText(root / "again.dat"));

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
        EXPECT_EQ(ReadText(root / "back/" + name), bytes) << name;
    ASSERT_TRUE(ExtractArchive(root / "out", root / "one", "alpha.mp3", error)) << error;
    EXPECT_EQ(ReadText(root / "one/alpha.mp3"), "ID3 and more");
    EXPECT_FALSE(ExtractArchive(root / "out", root / "none", "missing.bmp", error));
    EXPECT_NE(error.find("missing.bmp"), std::string::npos) << error;
}

TEST(Packer, UnpackingRefusesNamesThatLeaveItsFolderAndDamagedArchives)
{
    TempFolder root;
    Bytes index = IndexOf({{"../escape", 0}, {"a/b.c", 4}});
    WriteFile(root / "evil.set", index);
    WriteText(root / "evil.dat", "boomboom");
    std::string error;
    EXPECT_FALSE(ExtractArchive(root / "evil", root / "x/y", "", error));
    EXPECT_NE(error.find("../escape"), std::string::npos) << error;
    EXPECT_FALSE(fs::exists(root / "x/escape"));
    EXPECT_FALSE(ExtractArchive(root / "evil", root / "x/y", "a/b.c", error));
    EXPECT_FALSE(fs::exists(root / "x/y/a"));

    WriteText(root / "broken.set", std::string(kArchiveRecordSize, 'x'));
    WriteText(root / "broken.dat", "");
    EXPECT_FALSE(ListArchive(root / "broken", stdout, error));
    EXPECT_NE(error.find("broken.set"), std::string::npos) << error;
}

}  // namespace
