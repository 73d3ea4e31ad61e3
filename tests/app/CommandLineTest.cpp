// What the player may say on the command line: each option in both of its forms, and anything
// else refused with what was wrong.

#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "app/CommandLine.h"

namespace {

CommandLine Parse(std::vector<const char*> words)
{
    words.insert(words.begin(), "korimo-shooting");
    return ParseCommandLine(static_cast<int>(words.size()), words.data());
}

TEST(CommandLine, TakesEachOptionInEitherFormAndRefusesAnythingElseSayingWhy)
{
    using Action = CommandLine::Action;
    CommandLine line = Parse({"--fullscreen", "--no-sound", "--window-scale", "1", "--data-dir=d"});
    EXPECT_TRUE(line.action == Action::Play && line.fullScreen && line.noSound);
    EXPECT_EQ(line.windowScale, 1);
    EXPECT_EQ(line.dataFolder, "d");
    line = Parse({"--window-scale=8", "--verify", "run.krp"});
    EXPECT_TRUE(line.action == Action::VerifyReplay && line.windowScale == 8);
    EXPECT_EQ(line.replayFile, "run.krp");
    EXPECT_EQ(Parse({"--replay=a.krp"}).action, Action::WatchReplay);
    line = Parse({"--board", "https://board.example:8018/"});
    EXPECT_TRUE(line.action == Action::Play && line.board == "https://board.example:8018/");
    EXPECT_EQ(Parse({"--no-sound", "-h", "--bogus"}).action, Action::ShowHelp) << "help first";
    line = Parse({"--replay", "https://board.example/runs/12.krp"});
    EXPECT_TRUE(line.action == Action::WatchReplay &&
                line.replayFile == "https://board.example/runs/12.krp");
    // The board's top ten: one minute unless five is said, the board from --board before or
    // after.
    line = Parse({"--board-top"});
    EXPECT_TRUE(line.action == Action::ShowBoardTop && line.boardTopLength == 1);
    line = Parse({"--board-top", "5", "--board", "http://127.0.0.1:8018"});
    EXPECT_TRUE(line.action == Action::ShowBoardTop && line.boardTopLength == 5);
    EXPECT_EQ(line.board, "http://127.0.0.1:8018");
    line = Parse({"--board-top", "--board=http://127.0.0.1:8018"});
    EXPECT_TRUE(line.action == Action::ShowBoardTop && line.boardTopLength == 1);
    EXPECT_EQ(line.board, "http://127.0.0.1:8018");
    EXPECT_EQ(Parse({"--board-top=5"}).boardTopLength, 5);

    const std::pair<std::vector<const char*>, std::string> refused[] = {
        {{"--window-scale", "0"}, "--window-scale takes a whole number from 1 to 8, not '0'"},
        {{"--window-scale=9"}, "--window-scale takes a whole number from 1 to 8, not '9'"},
        {{"--window-scale", "2x"}, "--window-scale takes a whole number from 1 to 8, not '2x'"},
        {{"--data-dir="}, "--data-dir needs a folder"},
        {{"--replay"}, "--replay needs a value"},
        {{"--fullscreens"}, "unknown option '--fullscreens'"},
        {{"--board", "board.example"},
         "--board takes an http:// or https:// address, not 'board.example'"},
        {{"--board=file:///etc/passwd"},
         "--board takes an http:// or https:// address, not 'file:///etc/passwd'"},
        {{"--board"}, "--board needs a value"},
        {{"--board-top", "3"}, "--board-top takes 1 or 5 (minutes), not '3'"},
        {{"--board-top="}, "--board-top takes 1 or 5 (minutes), not ''"},
        {{"--board-tops"}, "unknown option '--board-tops'"},
    };
    for (const auto& [words, fault] : refused) {
        line = Parse(words);
        EXPECT_EQ(line.action, Action::Refuse) << fault;
        EXPECT_EQ(line.fault, fault);
    }
}

}  // namespace
