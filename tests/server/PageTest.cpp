// The board's page as headless Chromium shows it: both top tens with the uploaded runs, each
// with its watch link, and the way to take part.
#include <gtest/gtest.h>

#include <cstdio>

#include "tests/server/Variants.h"
#include "tests/support/Command.h"

namespace {

// The page's DOM after Chromium has loaded it.
std::string DumpDom(const std::string& url)
{
    return RunCommand("chromium --headless --no-sandbox --disable-gpu --dump-dom " + url +
                      " 2>/dev/null")
        .output;
}

size_t Count(const std::string& text, const std::string& part)
{
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

TEST(PageTest, BothTopTensShowTheUploadedRunsWithWatchLinks)
{
    if (std::system("command -v chromium >/dev/null") != 0)
        GTEST_SKIP() << "Chromium is not installed (tools/setup-web.sh installs it)";
    const std::string folder = FreshFolder("page");
    // The first upload verifies as a one-minute run, the others as five-minute runs.
    const std::string verifier = StandInVerifier(
        folder, "verifier",
        "if [ -e " + folder +
            "/one-done ]; then echo 'five minutes, score 52000, 17700 frames, "
            "checksum 0123456789abcdef: verified'; else touch " +
            folder +
            "/one-done; "
            "echo 'one minute, score 33490, 3530 frames, checksum 0123456789abcdef: verified'; fi");
    BoardProcess board({"--database", "sqlite:" + folder + "/board.sqlite", "--game", verifier});
    auto client = board.Client();
    ASSERT_EQ(Upload(*client, "Minute Maid", PlayerKey(10), GoldenOfDate(1))->status, 201);
    ASSERT_EQ(Upload(*client, "Long_Haul.5", PlayerKey(11), GoldenOfDate(2))->status, 201);
    ASSERT_EQ(Upload(*client, "Long_Haul.5", PlayerKey(11), GoldenOfDate(3))->status, 201);

    const std::string dom = DumpDom("http://127.0.0.1:" + std::to_string(board.port) + "/");
    ASSERT_NE(dom.find("<table>"), std::string::npos) << dom;
    const size_t fiveMinutes = dom.find("Five minutes");
    ASSERT_NE(fiveMinutes, std::string::npos);
    const std::string one = dom.substr(0, fiveMinutes), five = dom.substr(fiveMinutes);
    EXPECT_NE(one.find("Minute Maid"), std::string::npos);
    EXPECT_NE(one.find("33490"), std::string::npos);
    EXPECT_EQ(one.find("Long_Haul.5"), std::string::npos);
    EXPECT_EQ(Count(five, "Long_Haul.5"), 1u) << "a name is listed once, with its best run";
    EXPECT_NE(five.find("52000"), std::string::npos);
    EXPECT_NE(one.find("href=\"/play/?replay=/runs/1.krp\""), std::string::npos);
    EXPECT_NE(five.find("href=\"/play/?replay=/runs/2.krp\""), std::string::npos);
    EXPECT_EQ(Count(dom, "<li>"), 3u) << "three lines on how to take part";
}

}  // namespace
