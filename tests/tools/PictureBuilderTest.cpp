// The picture builder: the BMP form the game's loader reads, a build that gives the archive's
// bytes every time, and faulty sources that stop it with a message naming the file (and the
// line, where there is one) instead of a crash or a picture with holes in it.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "archive/ResourceArchive.h"
#include "tests/archive/TestFiles.h"
#include "tools/pictures/Bmp.h"
#include "tools/pictures/PictureSet.h"

using namespace testfiles;
namespace fs = std::filesystem;

namespace {

TEST(PictureBuilder, WritesTheBottomRowFirstWithTheKeyInTheClearPixels)
{
    Image picture(3, 2);
    picture.set(0, 0, 0x112233);  // top left
    picture.set(2, 1, 0xA0B0C0);  // bottom right
    std::vector<unsigned char> bmp = EncodeBmp(picture, 0x0000FF);
    auto word = [&](size_t at) {
        return bmp[at] | bmp[at + 1] << 8 | bmp[at + 2] << 16 | uint32_t(bmp[at + 3]) << 24;
    };
    ASSERT_EQ(bmp.size(), 54u + 3 * 2 * 4);
    EXPECT_EQ(bmp[0] | bmp[1] << 8, 'B' | 'M' << 8);
    EXPECT_EQ(word(2), bmp.size());
    EXPECT_EQ(word(10), 54u);  // pixels right behind the headers
    EXPECT_EQ(word(14), 40u);
    EXPECT_EQ(word(18), 3u);
    EXPECT_EQ(word(22), 2u);  // positive: bottom-up
    EXPECT_EQ(bmp[28] | bmp[29] << 8, 32);
    EXPECT_EQ(word(30), 0u);  // BI_RGB
    const uint32_t expected[] = {0x0000FF, 0x0000FF, 0xA0B0C0, 0x112233, 0x0000FF, 0x0000FF};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(word(54 + 4 * i), expected[i]) << "pixel " << i;
}

TEST(PictureBuilder, BuildsTheSameBytesAsTheArchiveHolds)
{
    std::vector<BuiltPicture> first, second;
    std::string error;
    ASSERT_TRUE(BuildPictures(KORIMO_SOURCE_DIR "/assets/pictures", first, error)) << error;
    ASSERT_TRUE(BuildPictures(KORIMO_SOURCE_DIR "/assets/pictures", second, error)) << error;
    ASSERT_EQ(first.size(), PictureSpecs().size());
    ResourceArchive archive(KORIMO_RUN_DIR "/korimo");
    ASSERT_EQ(archive.error(), "");
    for (size_t i = 0; i < first.size(); ++i) {
        EXPECT_EQ(first[i].bmp, second[i].bmp) << first[i].name << " differs between two builds";
        ASSERT_EQ(archive.Open(first[i].name.c_str()), 1) << first[i].name;
        Bytes packed(archive.cursor, archive.cursor + archive.entrySize);
        EXPECT_EQ(packed, first[i].bmp) << first[i].name << " in the archive is out of date";
    }
}

// A copy of the picture sources to spoil.
class BrokenSources : public ::testing::Test {
protected:
    void SetUp() override { fs::copy(KORIMO_SOURCE_DIR "/assets/pictures", folder.path); }

    std::string Read(const char* name)
    {
        Bytes bytes = ReadFile(folder / name);
        return {bytes.begin(), bytes.end()};
    }
    void Write(const char* name, const std::string& text)
    {
        WriteFile(folder / name, Bytes(text.begin(), text.end()));
    }
    // Replaces the first occurrence of what; gives the line it stands on.
    int Edit(const char* name, const std::string& what, const std::string& with)
    {
        std::string text = Read(name);
        size_t at = text.find(what);
        if (at == std::string::npos) {
            ADD_FAILURE() << what << " not in " << name;
            return 0;
        }
        Write(name, text.replace(at, what.size(), with));
        return 1 + static_cast<int>(std::count(text.begin(), text.begin() + at, '\n'));
    }
    // The build's error, which must be a failure.
    std::string Failure()
    {
        std::vector<BuiltPicture> pictures;
        std::string error;
        EXPECT_FALSE(BuildPictures(folder.path.string(), pictures, error));
        return error;
    }

    TempFolder folder;
};

TEST_F(BrokenSources, AGridFaultNamesTheFileAndLine)
{
    int line = Edit("shot.txt", "..kkCCiiwwk.", "..kkCC?iwwk.");
    std::string at = "shot.txt:" + std::to_string(line) + ":";
    std::string error = Failure();
    EXPECT_NE(error.find(at), std::string::npos) << error;
    EXPECT_NE(error.find("'?'"), std::string::npos) << error;
    Edit("shot.txt", "..kkCC?iwwk.", "..kkCC");  // a row cut short
    EXPECT_NE(Failure().find(at), std::string::npos);
}

TEST_F(BrokenSources, CutFramesKeyColoursMissingFilesAndGlyphsAreNamed)
{
    // Pure white would vanish from every sprite keyed on white.
    Edit("palette.txt", "f4f0e6", "ffffff");
    EXPECT_NE(Failure().find("palette.txt"), std::string::npos);
    Edit("palette.txt", "ffffff", "f4f0e6");

    std::string grid = Read("tama.txt");
    Write("tama.txt", grid.substr(0, grid.rfind("frame") + 15));
    fs::remove(folder / "bbolo.txt");
    Edit("kana.txt", "glyph ぐ", "glyph く");
    std::string error = Failure();
    for (const char* says : {"tama.txt", "bbolo.txt", "no glyph for 'ぐ'"})
        EXPECT_NE(error.find(says), std::string::npos) << says << " in " << error;
}

}  // namespace
