// The picture builder: a faulty source stops it with a message naming the file and the line
// instead of a crash or a picture with holes in it. (What it builds is the build's own archive,
// which the golden run pins.)

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/archive/TestFiles.h"
#include "tools/pictures/PictureSet.h"

using namespace testfiles;
namespace fs = std::filesystem;

namespace {

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
