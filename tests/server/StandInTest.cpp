// The board with stand-ins for the game's verifier: whatever the verifier does, the upload
// gets a 422 and the board goes on serving; and the limits in front of the verifier.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <future>

#include "tests/server/BoardAnswers.h"
#include "tests/server/BoardProcess.h"

namespace {

using nlohmann::json;

struct Misbehaviour {
    const char* what;
    const char* script;
    const char* sentence;
};

class StandInTest : public testing::TestWithParam<Misbehaviour> {};

TEST_P(StandInTest, AVerifierThatMisbehavesGetsA422AndTheBoardGoesOn)
{
    const Misbehaviour& row = GetParam();
    const std::string folder = FreshFolder(std::string("stand-in-") + row.what);
    const std::string scratch = FreshFolder(std::string("stand-in-") + row.what + "-scratch");
    BoardProcess board({"--database", "sqlite:" + folder + "/board.sqlite", "--game",
                        StandInVerifier(folder, "verifier", row.script), "--workers", "1"},
                       scratch);
    auto client = board.Client();
    const httplib::Result result = Upload(*client, "Tester", PlayerKey(3), GoldenReplay());
    ASSERT_TRUE(result);
    EXPECT_EQ(result->status, 422) << result->body;
    EXPECT_NE(ErrorOf(result).find(row.sentence), std::string::npos) << ErrorOf(result);
    EXPECT_TRUE(board.Healthy());
    EXPECT_EQ(Top(*client, 1)["runs"].size(), 0u);
    // The scratch folder went with the verification.
    EXPECT_TRUE(std::filesystem::is_empty(scratch));
}

INSTANTIATE_TEST_SUITE_P(
    Quick, StandInTest,
    testing::Values(
        Misbehaviour{"crash", "kill -SEGV $$", "crashed"},
        Misbehaviour{"nonsense", "echo 'one minute, score 99999999 and more: verified'",
                     "does not understand"},
        Misbehaviour{"two-lines",
                     "echo 'one minute, score 5, 6 frames, checksum 0123456789abcdef: verified'; "
                     "echo 'one minute, score 7, 8 frames, checksum 0123456789abcdef: verified'",
                     "does not understand"},
        Misbehaviour{"odd-exit", "echo 'something odd'; exit 3", "does not understand"},
        Misbehaviour{"flood", "while :; do echo 'aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa'; done",
                     "more than the board reads"},
        Misbehaviour{"missing-archive", "echo \"korimo: $2: cut short\" >&2; exit 1",
                     "verify: cut short"}),
    [](const testing::TestParamInfo<Misbehaviour>& info) {
        std::string name = info.param.what;
        std::replace(name.begin(), name.end(), '-', '_');
        return name;
    });

// The two that run into the limits of time take 10 and 20 seconds: labelled slow.
INSTANTIATE_TEST_SUITE_P(Slow, StandInTest,
                         testing::Values(Misbehaviour{"spin", "while :; do :; done", "crashed"},
                                         Misbehaviour{"hang", "exec sleep 600", "took longer"}),
                         [](const testing::TestParamInfo<Misbehaviour>& info) {
                             return std::string(info.param.what);
                         });

// A stand-in that takes its time holds the one worker; with no room to wait, the next upload
// is turned away at once with 503 and Retry-After while listings are still answered.
TEST(VerifyQueueTest, AFullQueueAnswers503AndListingsGoOn)
{
    const std::string folder = FreshFolder("queue");
    const std::string verifier = StandInVerifier(
        folder, "verifier",
        "sleep 2; echo 'one minute, score 100, 3530 frames, checksum 0123456789abcdef: verified'");
    BoardProcess board({"--database", "sqlite:" + folder + "/board.sqlite", "--game", verifier,
                        "--workers", "1", "--queue", "0"});
    std::string golden = GoldenReplay();
    auto slow = std::async(std::launch::async, [&] {
        auto client = board.Client();
        return Upload(*client, "First", PlayerKey(4), golden)->status;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    auto client = board.Client();
    // Another file (the same would be refused as a copy only once the first is stored).
    golden[golden.size() - 1] ^= 1;  // not a sound file: refused before the queue
    EXPECT_EQ(Upload(*client, "Second", PlayerKey(5), golden)->status, 400);
    golden[golden.size() - 1] ^= 1;
    const httplib::Result turnedAway = Upload(*client, "Second", PlayerKey(5), golden);
    ASSERT_TRUE(turnedAway);
    EXPECT_EQ(turnedAway->status, 503);
    EXPECT_FALSE(turnedAway->get_header_value("Retry-After").empty());
    Top(*client, 1);  // answered meanwhile
    EXPECT_EQ(slow.get(), 201);
    const json top = Top(*client, 1);
    ASSERT_EQ(top["runs"].size(), 1u);
    EXPECT_EQ(top["runs"][0]["name"], "First");
    EXPECT_EQ(top["runs"][0]["score"], 100);  // the verifier's word, not the file's 33490
}

// Ten uploads a minute from one address, counted whatever became of them; the eleventh is
// told when to come back.
TEST(RateLimitTest, TheEleventhUploadInAMinuteGets429)
{
    const std::string folder = FreshFolder("limit");
    BoardProcess board(
        {"--database", "sqlite:" + folder + "/board.sqlite", "--game", GameProgram()});
    auto client = board.Client();
    for (int i = 1; i <= 10; ++i)
        EXPECT_EQ(Upload(*client, "Eager", PlayerKey(6), "not a replay")->status, 400) << i;
    const httplib::Result eleventh = Upload(*client, "Eager", PlayerKey(6), GoldenReplay());
    ASSERT_TRUE(eleventh);
    EXPECT_EQ(eleventh->status, 429);
    const int retry = std::atoi(eleventh->get_header_value("Retry-After").c_str());
    EXPECT_GE(retry, 1);
    EXPECT_LE(retry, 60);
    EXPECT_EQ(Top(*client, 1)["runs"].size(), 0u);
}

}  // namespace
