// Runs sent to a stand-in board of our own on loopback, which answers as each case says: what
// becomes of the run in the outbox, what the player is told, and what reached the board.

#include "board/BoardSender.h"

#include <sys/stat.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>
#include <httplib.h>

#include "board/CurlTransport.h"
#include "board/Outbox.h"
#include "tests/board/LoopbackServer.h"

namespace {

namespace fs = std::filesystem;

// What the stand-in answers, and what it saw.
struct Script {
    int status = 201;
    std::string body =
        R"({"id": 7, "length": 1, "score": 100, "frames": 60, "rank": 3, "ranked": 230})";
    std::string retryAfter;
    std::string location;
    int delayMs = 0;
};

Script Answering(int status, std::string body, std::string retryAfter = "",
                 std::string location = "")
{
    Script script;
    script.status = status;
    script.body = std::move(body);
    script.retryAfter = std::move(retryAfter);
    script.location = std::move(location);
    return script;
}

Script Late(int delayMs)
{
    Script script;
    script.delayMs = delayMs;
    return script;
}

class StandInBoard {
public:
    StandInBoard()
    {
        server.Post("/api/runs", [this](const httplib::Request& request, httplib::Response& reply) {
            Script now;
            {
                std::lock_guard<std::mutex> lock(mutex);
                names.push_back(request.get_param_value("name"));
                keys.push_back(request.get_header_value("X-Player-Key"));
                bodies.push_back(request.body);
                now = script;
            }
            if (now.delayMs)
                std::this_thread::sleep_for(std::chrono::milliseconds(now.delayMs));
            reply.status = now.status;
            if (!now.retryAfter.empty())
                reply.set_header("Retry-After", now.retryAfter);
            if (!now.location.empty())
                reply.set_header("Location", now.location);
            reply.set_content(now.body, "application/json");
        });
        server.Post("/elsewhere/api/runs",
                    [this](const httplib::Request&, httplib::Response& reply) {
                        elsewhere++;
                        reply.status = 201;
                        reply.set_content(R"({"rank": 1})", "application/json");
                    });
        loopback.Start();
    }

    std::string Address() const { return loopback.Address(); }
    void Answer(const Script& next)
    {
        std::lock_guard<std::mutex> lock(mutex);
        script = next;
    }
    size_t Uploads()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return bodies.size();
    }

    std::mutex mutex;
    Script script;
    std::vector<std::string> names, keys, bodies;
    std::atomic<int> elsewhere{0};

private:
    LoopbackServer loopback;
    httplib::Server& server = loopback.server;
};

const std::vector<uint8_t> kReplay = {'K', 'R', 'P', '1', 0, 1, 2, 3, 0xFF, 0x80};

// Waits, a little at a time, until done says so; false after ten seconds.
template <typename Done>
bool Eventually(Done done)
{
    for (int i = 0; i < 1000; i++) {
        if (done())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return done();
}

class BoardSending : public testing::Test {
protected:
    void SetUp() override
    {
        fs::remove_all("player");
        fs::create_directories("player");
        place = {board.Address(), "Mio Tester", "player/board.key", "player/replays/outbox"};
    }

    size_t Waiting() { return Outbox(place.outboxFolder).Waiting().size(); }

    StandInBoard board;
    BoardPlace place;
    CurlTransport transport{ExchangeLimits{.connectSeconds = 2, .totalSeconds = 2}};
    std::mutex linesMutex;
    std::vector<std::string> lines;
    std::function<void(const std::string&)> say = [this](const std::string& line) {
        std::lock_guard<std::mutex> lock(linesMutex);
        lines.push_back(line);
    };
};

TEST_F(BoardSending, AStoredRunLeavesTheOutboxWithItsRank)
{
    {
        BoardSender sender(transport, place, say);
        EXPECT_EQ(sender.latestRun().stage, SentRun::Stage::None);
        sender.Send(kReplay);
        ASSERT_TRUE(Eventually([&] { return sender.answered() == 1; }));
        EXPECT_EQ(sender.lastRank(), 3);
        EXPECT_EQ(sender.state(), BoardSender::State::Idle);
        const SentRun sent = sender.latestRun();
        EXPECT_EQ(sent.stage, SentRun::Stage::Placed);
        EXPECT_EQ(sent.rank, 3);
        EXPECT_EQ(sent.ranked, 230);
    }
    EXPECT_EQ(Waiting(), 0u);
    EXPECT_TRUE(lines.empty());
    ASSERT_EQ(board.bodies.size(), 1u);
    EXPECT_EQ(board.bodies[0], std::string(kReplay.begin(), kReplay.end()));
    EXPECT_EQ(board.names[0], "Mio Tester");
    // The key is made on the first send, kept for the player alone, and used ever after.
    const std::string key = board.keys[0];
    EXPECT_EQ(key.size(), 64u);
    EXPECT_EQ(key.find_first_not_of("0123456789abcdef"), std::string::npos) << key;
    struct stat info = {};
    ASSERT_EQ(stat(place.keyFile.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    {
        BoardSender again(transport, place, say);
        again.Send(kReplay);
        ASSERT_TRUE(Eventually([&] { return again.answered() == 1; }));
    }
    ASSERT_EQ(board.keys.size(), 2u);
    EXPECT_EQ(board.keys[1], key);
}

TEST_F(BoardSending, RefusedRunsAreDroppedWithOneLine)
{
    for (int status : {400, 403, 409, 413, 422}) {
        lines.clear();
        const std::string error = "refused for reason " + std::to_string(status);
        board.Answer(Answering(status, R"({"error": ")" + error + R"("})"));
        BoardSender sender(transport, place, say);
        sender.Send(kReplay);
        ASSERT_TRUE(Eventually([&] { return sender.answered() == 1; })) << status;
        EXPECT_EQ(Waiting(), 0u) << status;
        std::lock_guard<std::mutex> lock(linesMutex);
        ASSERT_EQ(lines.size(), 1u) << status;
        EXPECT_NE(lines[0].find(error), std::string::npos) << lines[0];
        EXPECT_EQ(sender.lastRank(), 0) << status;
        EXPECT_EQ(sender.latestRun().stage, SentRun::Stage::Refused) << status;
    }
}

// Answers that settle nothing: the run stays in the outbox and the board is tried later.
TEST_F(BoardSending, UnsettlingAnswersKeepTheRunForLater)
{
    // A stored run with its rank, but a megabyte long.
    const std::string huge = R"({"rank": 1, "padding": ")" + std::string(1 << 20, 'x') + R"("})";
    const struct {
        const char* name;
        Script script;
    } cases[] = {
        {"busy", Answering(503, R"({"error": "the queue is full"})", "30")},
        {"too many", Answering(429, R"({"error": "slow down"})", "60")},
        {"broken", Answering(500, "<html>oops</html>")},
        {"an answer far too long", Answering(201, huge)},
        {"stored without a rank", Answering(201, R"({"id": 1})")},
        {"not JSON", Answering(201, "rank=1")},
        {"too late", Late(3500)},
        {"sent elsewhere", Answering(307, "", "", "/elsewhere/api/runs")},
    };
    for (const auto& c : cases) {
        fs::remove_all(place.outboxFolder);
        board.Answer(c.script);
        const size_t before = board.Uploads();
        {
            BoardSender sender(transport, place, say);
            sender.Send(kReplay);
            ASSERT_TRUE(Eventually([&] {
                return board.Uploads() > before && sender.state() == BoardSender::State::Offline;
            })) << c.name;
            EXPECT_EQ(sender.answered(), 0u) << c.name;
            EXPECT_TRUE(Eventually([&] {
                return sender.latestRun().stage == SentRun::Stage::Waiting;
            })) << c.name;
        }
        EXPECT_EQ(Waiting(), 1u) << c.name;
    }
    EXPECT_EQ(board.elsewhere, 0) << "a redirect was followed";
}

// The latest run is the one the player sees news of, whatever older runs are doing.
TEST_F(BoardSending, TheLatestRunIsFollowedFromSendingToItsPlace)
{
    board.Answer(Late(600));
    BoardSender sender(transport, place, say);
    sender.Send(kReplay);
    EXPECT_EQ(sender.latestRun().stage, SentRun::Stage::Sending);
    ASSERT_TRUE(Eventually([&] { return board.Uploads() == 1; }));
    EXPECT_EQ(sender.latestRun().stage, SentRun::Stage::Sending);
    // Handed over while the first is on its way: the news is of the second.
    Script second;
    second.body = R"({"rank": 1, "ranked": 2})";
    board.Answer(second);
    sender.Send(kReplay);
    ASSERT_TRUE(Eventually([&] { return sender.answered() == 2; }));
    const SentRun sent = sender.latestRun();
    EXPECT_EQ(sent.stage, SentRun::Stage::Placed);
    EXPECT_EQ(sent.rank, 1);
    EXPECT_EQ(sent.ranked, 2);
}

TEST_F(BoardSending, ARunLeftInTheOutboxGoesWhenTheBoardIsBack)
{
    board.Answer(Answering(503, R"({"error": "the queue is full"})", "1"));
    BoardSender sender(transport, place, say);
    sender.Send(kReplay);
    ASSERT_TRUE(Eventually([&] { return sender.state() == BoardSender::State::Offline; }));
    EXPECT_TRUE(Eventually([&] { return sender.latestRun().stage == SentRun::Stage::Waiting; }));
    board.Answer({});
    ASSERT_TRUE(Eventually([&] { return sender.answered() == 1; }));
    EXPECT_EQ(Waiting(), 0u);
    EXPECT_EQ(sender.lastRank(), 3);
    EXPECT_EQ(sender.latestRun().stage, SentRun::Stage::Placed);
}

TEST_F(BoardSending, AnUnreachableBoardKeepsEveryRun)
{
    place.board = "http://127.0.0.1:1";  // nothing listens there
    {
        BoardSender sender(transport, place, say);
        sender.Send(kReplay);
        sender.Send(kReplay);
        ASSERT_TRUE(Eventually([&] { return Waiting() == 2; }));
        ASSERT_TRUE(Eventually([&] { return sender.state() == BoardSender::State::Offline; }));
    }
    EXPECT_EQ(Waiting(), 2u);
    // The next start sends what waited, oldest first.
    place.board = board.Address();
    BoardSender sender(transport, place, say);
    ASSERT_TRUE(Eventually([&] { return sender.answered() == 2; }));
    EXPECT_EQ(Waiting(), 0u);
}

}  // namespace
