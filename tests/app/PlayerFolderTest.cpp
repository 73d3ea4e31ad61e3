// Where the player's files go: the folder the XDG rules give, said when it cannot be written,
// and the scores an earlier version kept in the current folder copied in once.

#include <cstdlib>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "app/EarlierScores.h"
#include "app/PlayerFolder.h"
#include "app/SaveRecord.h"
#include "tests/archive/TestFiles.h"

namespace {

using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

TEST(PlayerFolder, FollowsTheXdgRulesAndSaysWhenItCannotWrite)
{
    const std::string byHome = "/home/a/.local/share/korimo-shooting";
    struct Case {
        const char *xdgDataHome, *home;
        std::string folder;
    };
    for (const Case& c :
         {Case{"/data", "/home/a", "/data/korimo-shooting"}, Case{nullptr, "/home/a", byHome},
          Case{"", "/home/a", byHome}, Case{"relative/data", "/home/a", byHome},
          Case{nullptr, "", ""}, Case{nullptr, nullptr, ""}})
        EXPECT_EQ(DefaultPlayerFolder(c.xdgDataHome, c.home), c.folder) << c.folder;

    testfiles::TempFolder scratch(true);
    testfiles::WriteText("in-the-way", "");
    PlayerFolder folder;
    CaptureStderr();
    folder.Settle("in-the-way/deeper");
    EXPECT_FALSE(folder.writable());
    EXPECT_EQ(GetCapturedStderr(), "korimo: cannot write in in-the-way/deeper; this session's "
                                   "scores are kept in memory only\n");
    CaptureStderr();
    folder.Settle("made/here");
    EXPECT_EQ(GetCapturedStderr(), "");
    EXPECT_TRUE(folder.writable() && std::filesystem::is_directory("made/here"));
    EXPECT_EQ(folder.PathOf(kSaveFileName), "made/here/korimo.sav");
}

TEST(EarlierScores, AreCopiedIntoTheDefaultFolderOnceAndStayWhereTheyWere)
{
    testfiles::TempFolder scratch(true);
    const char* previous = std::getenv("XDG_DATA_HOME");
    const std::string kept = previous ? previous : "";
    setenv("XDG_DATA_HOME", (scratch.path / "data").c_str(), 1);
    PlayerFolder folder, chosen;
    folder.Settle(nullptr);
    chosen.Settle("chosen");
    previous ? setenv("XDG_DATA_HOME", kept.c_str(), 1) : unsetenv("XDG_DATA_HOME");

    testfiles::WriteText(kSaveFileName, "earlier");
    CaptureStderr();
    CopyEarlierScores(folder);
    CopyEarlierScores(chosen);  // a folder the player chose is left as it is
    EXPECT_NE(
        GetCapturedStderr().find("copied the scores of " + (scratch.path / kSaveFileName).string()),
        std::string::npos);
    EXPECT_EQ(testfiles::ReadText(folder.PathOf(kSaveFileName)), "earlier");
    EXPECT_FALSE(std::filesystem::exists(chosen.PathOf(kSaveFileName)));
    testfiles::WriteText(kSaveFileName, "later");
    CopyEarlierScores(folder);
    EXPECT_EQ(testfiles::ReadText(folder.PathOf(kSaveFileName)), "earlier") << "once only";
}

}  // namespace
