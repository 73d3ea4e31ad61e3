// Faulty picture sources stop the build with a message that names the file (and the line,
// where there is one) instead of a crash or a picture with holes in it.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tools/pictures/PictureSet.h"

namespace fs = std::filesystem;

namespace {

class BrokenSources : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = fs::temp_directory_path() / "korimo-picture-sources";
        fs::remove_all(folder);
        fs::copy(KORIMO_SOURCE_DIR "/assets/pictures", folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    std::string Read(const char* name)
    {
        std::ifstream in(folder / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    void Write(const char* name, const std::string& text)
    {
        std::ofstream(folder / name, std::ios::binary) << text;
    }
    // Replaces the first occurrence of what in the file.
    void Edit(const char* name, const std::string& what, const std::string& with)
    {
        std::string text = Read(name);
        size_t at = text.find(what);
        ASSERT_NE(at, std::string::npos) << what << " not in " << name;
        Write(name, text.replace(at, what.size(), with));
    }
    // The build's error, which must be a failure.
    std::string Failure()
    {
        std::vector<BuiltPicture> pictures;
        std::string error;
        EXPECT_FALSE(BuildPictures(folder.string(), pictures, error));
        return error;
    }

    fs::path folder;
};

TEST_F(BrokenSources, TheSourcesAsTheyAreBuild)
{
    std::vector<BuiltPicture> pictures;
    std::string error;
    EXPECT_TRUE(BuildPictures(folder.string(), pictures, error)) << error;
    EXPECT_EQ(pictures.size(), PictureSpecs().size());
}

TEST_F(BrokenSources, AGridFaultNamesTheFileAndLine)
{
    std::string grid = Read("shot.txt");
    size_t row = grid.find("..kkCCiiwwk.");
    ASSERT_NE(row, std::string::npos);
    int line = 1 + static_cast<int>(std::count(grid.begin(), grid.begin() + row, '\n'));
    Edit("shot.txt", "..kkCCiiwwk.", "..kkCC?iwwk.");
    std::string error = Failure();
    EXPECT_NE(error.find("shot.txt:" + std::to_string(line) + ":"), std::string::npos) << error;
    EXPECT_NE(error.find("'?'"), std::string::npos) << error;

    Edit("shot.txt", "..kkCC?iwwk.", "..kkCC");
    EXPECT_NE(Failure().find("shot.txt:" + std::to_string(line) + ":"), std::string::npos);
}

TEST_F(BrokenSources, AFrameCutShortIsReported)
{
    std::string grid = Read("tama.txt");
    Write("tama.txt", grid.substr(0, grid.rfind("frame") + 15));
    EXPECT_NE(Failure().find("tama.txt"), std::string::npos);
}

TEST_F(BrokenSources, APaletteColourMayNotBeAKey)
{
    // Pure white would vanish from every sprite keyed on white.
    Edit("palette.txt", "f4f0e6", "ffffff");
    EXPECT_NE(Failure().find("palette.txt"), std::string::npos);
}

TEST_F(BrokenSources, MissingFilesAndGlyphsAreNamed)
{
    fs::remove(folder / "bbolo.txt");
    Edit("kana.txt", "glyph ぐ", "glyph く");
    std::string error = Failure();
    EXPECT_NE(error.find("bbolo.txt"), std::string::npos) << error;
    EXPECT_NE(error.find("no glyph for 'ぐ'"), std::string::npos) << error;
}

}  // namespace
