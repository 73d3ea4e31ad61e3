// The picture builder: a build that gives the archive's bytes every time (the game's loader
// reads those in the asset tests), and a faulty source that stops it with a message naming the
// file and the line instead of a crash or a picture with holes in it.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "archive/ResourceArchive.h"
#include "tests/archive/TestFiles.h"
#include "tools/pictures/PictureSet.h"

using namespace testfiles;
namespace fs = std::filesystem;

namespace {

TEST(PictureBuilder, BuildsTheSameBytesAsTheArchiveHolds)
{
    std::vector<BuiltPicture> first, second;
    std::string error;
    ASSERT_TRUE(BuildPictures(KORIMO_SOURCE_DIR "/assets/pictures", first, error)) << error;
    ASSERT_TRUE(BuildPictures(KORIMO_SOURCE_DIR "/assets/pictures", second, error)) << error;
    ASSERT_EQ(first.size(), PictureRecipes().size());
    ResourceArchive archive(KORIMO_RUN_DIR "/korimo");
    ASSERT_EQ(archive.error(), "");
    for (size_t i = 0; i < first.size(); ++i) {
        EXPECT_EQ(first[i].bmp, second[i].bmp) << first[i].name << " differs between two builds";
        ASSERT_EQ(archive.Open(first[i].name.c_str()), 1) << first[i].name;
        Bytes packed(archive.cursor, archive.cursor + archive.entrySize);
        EXPECT_EQ(packed, first[i].bmp) << first[i].name << " in the archive is out of date";
    }
}

TEST(PictureBuilder, FaultsInTheSourcesAreNamedWithTheirLine)
{
    TempFolder folder;
    fs::copy(KORIMO_SOURCE_DIR "/assets/pictures", folder.path);
    // Replaces the first occurrence of what; gives the line it stands on.
    auto edit = [&](const char* name, const std::string& what, const std::string& with) {
        Bytes bytes = ReadFile(folder / name);
        std::string text(bytes.begin(), bytes.end());
        size_t at = text.find(what);
        if (at == std::string::npos) {
            ADD_FAILURE() << what << " not in " << name;
            return std::string();
        }
        text.replace(at, what.size(), with);
        WriteFile(folder / name, Bytes(text.begin(), text.end()));
        return name + (":" + std::to_string(1 + std::count(text.begin(), text.begin() + at, '\n')));
    };
    auto failure = [&] {
        std::vector<BuiltPicture> pictures;
        std::string error;
        EXPECT_FALSE(BuildPictures(folder.path.string(), pictures, error));
        return error;
    };
    std::string at = edit("shot.txt", "..kkCCiiwwk.", "..kkCC?iwwk.");
    std::string error = failure();
    EXPECT_NE(error.find(at + ":"), std::string::npos) << error;
    EXPECT_NE(error.find("'?'"), std::string::npos) << error;
    edit("shot.txt", "..kkCC?iwwk.", "..kkCC");  // a row cut short
    EXPECT_NE(failure().find(at + ":"), std::string::npos);
    // Pure white in the palette would vanish from every sprite keyed on white.
    edit("shot.txt", "..kkCC", "..kkCCiiwwk.");
    edit("palette.txt", "f4f0e6", "ffffff");
    EXPECT_NE(failure().find("palette.txt"), std::string::npos);
}

}  // namespace
