// The Windows program's sending, under Wine, to the stand-in board that tests/windows/board.sh
// starts on the Linux side of loopback (KORIMO_STAND_IN_BOARD, http://127.0.0.1:PORT): what
// becomes of a run in the outbox for every kind of answer, and what the transport itself
// promises (no redirects, a cap on the answer, a time limit, an end soon after stop).

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "board/BoardSender.h"
#include "board/Outbox.h"
#include "board/SystemTransport.h"

namespace {

namespace fs = std::filesystem;
using std::chrono::steady_clock;

std::string StandIn()
{
    const char* address = std::getenv("KORIMO_STAND_IN_BOARD");
    return address ? address : "";
}

// What the stand-in saw, one word after the name of each field.
std::string Seen(SystemTransport& transport, const std::string& field)
{
    HttpRequest request;
    request.url = StandIn() + "/seen";
    const HttpAnswer answer = transport.Exchange(request, std::atomic<bool>{false});
    const std::string marker = field + " ";
    const size_t at = (" " + answer.body).find(" " + marker);
    if (answer.status != 200 || at == std::string::npos)
        return "?";
    const size_t start = at + marker.size();
    return answer.body.substr(start, answer.body.find(' ', start) - start);
}

const std::vector<uint8_t> kReplay = {'K', 'R', 'P', '1', 0, 1, 2, 3, 0xFF, 0x80};

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

class WinHttpSending : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(StandIn().empty()) << "KORIMO_STAND_IN_BOARD names no stand-in board";
        fs::remove_all("player");
        fs::create_directories("player");
        place = {StandIn() + "/ok", "Mio Tester", "player/board.key", "player/replays/outbox"};
    }

    size_t Waiting() { return Outbox(place.outboxFolder).Waiting().size(); }
    size_t Uploads() { return std::stoul("0" + Seen(transport, "uploads")); }

    BoardPlace place;
    SystemTransport transport{{.connectSeconds = 2, .totalSeconds = 2}};
    std::mutex linesMutex;
    std::vector<std::string> lines;
    std::function<void(const std::string&)> say = [this](const std::string& line) {
        std::lock_guard<std::mutex> lock(linesMutex);
        lines.push_back(line);
    };
};

TEST_F(WinHttpSending, AStoredRunLeavesTheOutboxWithItsRankAndTheKeyStays)
{
    {
        BoardSender sender(transport, place, say);
        sender.Send(kReplay);
        ASSERT_TRUE(Eventually([&] { return sender.answered() == 1; }));
        EXPECT_EQ(sender.lastRank(), 3);
    }
    EXPECT_EQ(Waiting(), 0u);
    EXPECT_TRUE(lines.empty());
    EXPECT_EQ(Seen(transport, "body"), "4b52503100010203ff80");
    EXPECT_EQ(Seen(transport, "name"), "4d696f20546573746572");  // "Mio Tester"
    const std::string key = Seen(transport, "key");
    EXPECT_EQ(key.size(), 64u);
    EXPECT_EQ(key.find_first_not_of("0123456789abcdef"), std::string::npos) << key;
    {
        BoardSender again(transport, place, say);
        again.Send(kReplay);
        ASSERT_TRUE(Eventually([&] { return again.answered() == 1; }));
    }
    EXPECT_EQ(Seen(transport, "key"), key);
}

TEST_F(WinHttpSending, RefusedRunsAreDroppedWithOneLine)
{
    for (int status : {400, 403, 409, 413, 422}) {
        lines.clear();
        place.board = StandIn() + "/refuse-" + std::to_string(status);
        BoardSender sender(transport, place, say);
        sender.Send(kReplay);
        ASSERT_TRUE(Eventually([&] { return sender.answered() == 1; })) << status;
        EXPECT_EQ(Waiting(), 0u) << status;
        std::lock_guard<std::mutex> lock(linesMutex);
        ASSERT_EQ(lines.size(), 1u) << status;
        EXPECT_NE(lines[0].find("refused for reason " + std::to_string(status)), std::string::npos)
            << lines[0];
    }
}

TEST_F(WinHttpSending, UnsettlingAnswersKeepTheRunForLater)
{
    for (const char* way :
         {"busy", "toomany", "broken", "huge", "norank", "notjson", "late", "redirect"}) {
        fs::remove_all(place.outboxFolder);
        place.board = StandIn() + "/" + way;
        const size_t before = Uploads();
        {
            BoardSender sender(transport, place, say);
            sender.Send(kReplay);
            ASSERT_TRUE(Eventually([&] {
                return Uploads() > before && sender.state() == BoardSender::State::Offline;
            })) << way;
            EXPECT_EQ(sender.answered(), 0u) << way;
        }
        EXPECT_EQ(Waiting(), 1u) << way;
    }
    EXPECT_EQ(Seen(transport, "elsewhere"), "0") << "a redirect was followed";
}

TEST_F(WinHttpSending, AnUnreachableBoardKeepsEveryRun)
{
    place.board = "http://127.0.0.1:1";  // nothing listens there
    BoardSender sender(transport, place, say);
    sender.Send(kReplay);
    sender.Send(kReplay);
    ASSERT_TRUE(Eventually([&] { return Waiting() == 2; }));
    ASSERT_TRUE(Eventually([&] { return sender.state() == BoardSender::State::Offline; }));
    EXPECT_EQ(Waiting(), 2u);
}

// What every transport promises, seen in the answer itself.
TEST_F(WinHttpSending, TheTransportKeepsItsPromises)
{
    const std::vector<uint8_t> body = kReplay;
    HttpRequest request;
    request.body = &body;
    const std::atomic<bool> going{false};

    request.url = StandIn() + "/busy/api/runs?name=x";
    HttpAnswer answer = transport.Exchange(request, going);
    EXPECT_EQ(answer.status, 503);
    EXPECT_EQ(answer.retryAfter, "30");
    EXPECT_EQ(answer.body, R"({"error": "the queue is full"})");

    request.url = StandIn() + "/redirect/api/runs?name=x";
    answer = transport.Exchange(request, going);
    EXPECT_EQ(answer.status, 307) << answer.failure;

    request.url = StandIn() + "/ok/api/runs?name=x";
    request.largestAnswer = 20;
    answer = transport.Exchange(request, going);
    EXPECT_EQ(answer.status, 0);
    EXPECT_NE(answer.failure.find("longer than 20 bytes"), std::string::npos) << answer.failure;
    EXPECT_LE(answer.body.size(), 20u);
    request.largestAnswer = 16 * 1024;

    request.url = "ftp://127.0.0.1/api/runs";
    answer = transport.Exchange(request, going);
    EXPECT_EQ(answer.status, 0);
    EXPECT_FALSE(answer.failure.empty());

    // Too late: the whole exchange is cut at its limit, two seconds here.
    request.url = StandIn() + "/late/api/runs?name=x";
    auto start = steady_clock::now();
    answer = transport.Exchange(request, going);
    EXPECT_EQ(answer.status, 0);
    EXPECT_LT(steady_clock::now() - start, std::chrono::milliseconds(3200));

    // Stopped: the exchange ends soon after the flag is set, long before the board answers.
    std::atomic<bool> stop{false};
    std::thread stopper([&stop] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        stop = true;
    });
    SystemTransport patient{{.connectSeconds = 10, .totalSeconds = 40}};
    start = steady_clock::now();
    answer = patient.Exchange(request, stop);
    const auto took = steady_clock::now() - start;
    stopper.join();
    EXPECT_EQ(answer.status, 0);
    EXPECT_LT(took, std::chrono::milliseconds(1500));
}

}  // namespace
