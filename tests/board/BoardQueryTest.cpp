// What the game asks a board (its ranking, a run's replay file) against a stand-in board of our
// own on loopback that answers each case as the table says: the rows a caller gets, or the one
// line saying why there are none. And the two small readers every exchange relies on.

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>
#include <httplib.h>

#include "board/BoardApi.h"
#include "board/CurlTransport.h"
#include "tests/board/LoopbackServer.h"

namespace {

struct Answer {
    Answer(int status = 200, std::string body = "", std::string location = "")
        : status(status), body(std::move(body)), location(std::move(location))
    {
    }
    int status;
    std::string body;
    std::string location;
};

// Answers every GET with the scripted answer; /elsewhere counts the redirects followed.
class StandInBoard {
public:
    StandInBoard()
    {
        server.Get("/elsewhere", [this](const httplib::Request&, httplib::Response& reply) {
            elsewhere++;
            reply.set_content(R"({"length": 1, "runs": []})", "application/json");
        });
        server.Get(".*", [this](const httplib::Request& request, httplib::Response& reply) {
            std::lock_guard<std::mutex> lock(mutex);
            asked.push_back(request.path + "?" + request.get_param_value("length") + "," +
                            request.get_param_value("limit"));
            reply.status = answer.status;
            if (!answer.location.empty())
                reply.set_header("Location", answer.location);
            reply.set_content(answer.body, "application/json");
        });
        loopback.Start();
    }

    std::string Address() const { return loopback.Address(); }
    void Answering(Answer next)
    {
        std::lock_guard<std::mutex> lock(mutex);
        answer = std::move(next);
    }

    std::mutex mutex;
    std::vector<std::string> asked;
    std::atomic<int> elsewhere{0};

private:
    Answer answer;
    LoopbackServer loopback;
    httplib::Server& server = loopback.server;
};

std::string Row(int rank, const std::string& name, const std::string& score)
{
    return R"({"rank": )" + std::to_string(rank) + R"(, "id": )" + std::to_string(40 + rank) +
           R"(, "name": ")" + name + R"(", "score": )" + score +
           R"(, "recorded": 1765000000, "received": 1765000100})";
}

std::string Top(int length, const std::string& rows, const std::string& more = "")
{
    return R"({"length": )" + std::to_string(length) + R"(, "runs": [)" + rows + "]" + more + "}";
}

class BoardQueries : public testing::Test {
protected:
    StandInBoard board;
    CurlTransport transport{ExchangeLimits{.connectSeconds = 2, .totalSeconds = 2}};
    std::atomic<bool> stop{false};
};

TEST_F(BoardQueries, ARankingIsReadRowByRow)
{
    board.Answering({200, Top(5,
                              Row(1, "Mio", "123456") + "," + Row(2, "Bell\\u001b[2J", "99000") +
                                  "," + Row(2, "Tie", "99000"),
                              R"(, "ranked": 230)")});
    const BoardTop top = FetchTop(transport, board.Address() + "/", 5, 10, stop);
    ASSERT_EQ(top.failure, "");
    EXPECT_EQ(board.asked.at(0), "/api/top?5,10");
    EXPECT_EQ(top.ranked, 230);
    ASSERT_EQ(top.runs.size(), 3u);
    EXPECT_EQ(top.runs[0].name, "Mio");
    EXPECT_EQ(top.runs[0].score, 123456);
    EXPECT_EQ(top.runs[0].id, 41);
    EXPECT_EQ(top.runs[0].recorded, 1765000000);
    // A terminal's escape in a name reaches nobody's terminal.
    EXPECT_EQ(top.runs[1].name, "Bell?[2J");
    EXPECT_EQ(top.runs[2].rank, 2);

    // An older board that counts nothing, and a limit beyond what boards give.
    board.Answering({200, Top(1, Row(1, "Mio", "5"))});
    const BoardTop older = FetchTop(transport, board.Address(), 1, 1000, stop);
    ASSERT_EQ(older.failure, "");
    EXPECT_EQ(older.ranked, 0);
    EXPECT_EQ(board.asked.at(1), "/api/top?1,100");
}

TEST_F(BoardQueries, ANonsenseRankingGivesNoRowsAndOneLine)
{
    const std::string good = Row(1, "Mio", "100");
    const std::string tenRows = [&] {
        std::string rows = good;
        for (int i = 0; i < 10; i++)
            rows += "," + Row(2, "Mio", "50");
        return rows;
    }();
    const struct {
        const char* name;
        Answer answer;
        const char* says;
    } cases[] = {
        {"a web page", {200, "<html><body>Welcome</body></html>"}, "no ranking"},
        {"cut short", {200, Top(1, good).substr(0, 60)}, "no ranking"},
        {"another length", {200, Top(5, good)}, "no ranking"},
        {"runs not a list", {200, R"({"length": 1, "runs": {"rank": 1}})"}, "no ranking"},
        {"more rows than asked", {200, Top(1, tenRows)}, "no ranking"},
        {"a rank as text",
         {200, Top(1, R"({"rank": "1", "id": 3, "name": "Mio", "score": 1, )"
                      R"("recorded": 1, "received": 1})")},
         "make no sense"},
        {"a huge score", {200, Top(1, Row(1, "Mio", "18446744073709551615"))}, "make no sense"},
        {"a score past any number", {200, Top(1, Row(1, "Mio", "1e400"))}, "no ranking"},
        {"a fractional score", {200, Top(1, Row(1, "Mio", "10.5"))}, "make no sense"},
        {"a negative score", {200, Top(1, Row(1, "Mio", "-3"))}, "make no sense"},
        {"a name too long", {200, Top(1, Row(1, std::string(17, 'M'), "3"))}, "make no sense"},
        {"no name", {200, Top(1, Row(1, "", "3"))}, "make no sense"},
        {"ranks out of order",
         {200, Top(1, Row(2, "A", "3") + "," + Row(1, "B", "2"))},
         "make no sense"},
        {"ten megabytes",
         {200, Top(1, good, R"(, "pad": ")" + std::string(10 << 20, 'x') + "\"")},
         "longer than"},
        {"a server fault",
         {500, R"({"error": "The database is gone."})"},
         "answered 500: The database is gone."},
        {"a redirect", {302, "", "/elsewhere"}, "answered 302"},
    };
    for (const auto& c : cases) {
        board.Answering(c.answer);
        const BoardTop top = FetchTop(transport, board.Address(), 1, 10, stop);
        EXPECT_TRUE(top.runs.empty()) << c.name;
        EXPECT_NE(top.failure.find(c.says), std::string::npos) << c.name << ": " << top.failure;
        EXPECT_EQ(top.failure.find('\n'), std::string::npos) << c.name;
    }
    EXPECT_EQ(board.elsewhere, 0) << "a redirect was followed";
}

TEST_F(BoardQueries, AReplayFileComesWholeOrNotAtAll)
{
    const std::string replay = std::string("KRP1\0\1\2", 7) + std::string(1000, '\x80');
    const std::string url = board.Address() + "/runs/12.krp";
    std::vector<uint8_t> bytes;
    std::string error;

    board.Answering({200, replay});
    ASSERT_TRUE(FetchReplayFile(transport, url, bytes, error, stop)) << error;
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), replay);
    EXPECT_EQ(board.asked.back(), "/runs/12.krp?,");

    const struct {
        const char* name;
        Answer answer;
        const char* says;
    } cases[] = {
        {"no such run",
         {404, R"({"error": "There is no such run on the board."})"},
         "answered 404: There is no such run on the board."},
        {"larger than a board takes",
         {200, std::string(kLargestBoardReplay + 1, 'r')},
         "longer than"},
        {"ten megabytes", {200, std::string(10 << 20, 'r')}, "longer than"},
        {"a redirect", {301, "", "/elsewhere"}, "answered 301"},
    };
    for (const auto& c : cases) {
        board.Answering(c.answer);
        error.clear();
        EXPECT_FALSE(FetchReplayFile(transport, url, bytes, error, stop)) << c.name;
        EXPECT_NE(error.find(c.says), std::string::npos) << c.name << ": " << error;
        EXPECT_EQ(error.rfind(url, 0), 0u) << "names the address: " << error;
    }
    EXPECT_EQ(board.elsewhere, 0) << "a redirect was followed";

    // Nothing listens there.
    EXPECT_FALSE(FetchReplayFile(transport, "http://127.0.0.1:1/runs/1.krp", bytes, error, stop));
    EXPECT_FALSE(error.empty());
}

TEST(BoardText, NamesAreEscapedForAQuery)
{
    const struct {
        const char* name;
        const char* escaped;
    } cases[] = {
        {"Mio", "Mio"},
        {"Mio Tester", "Mio%20Tester"},
        {"a&b=c#d", "a%26b%3Dc%23d"},
        {"-._~", "-._~"},
        {"100%", "100%25"},
        {"\xC3\xA9", "%C3%A9"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(EscapedForQuery(c.name), c.escaped) << c.name;
}

TEST(BoardText, RetryAfterIsReadAsSecondsWithinAnHour)
{
    const struct {
        const char* value;
        uint32_t seconds;
    } cases[] = {
        {"30", 30},
        {" 5", 5},
        {"0", 0},
        {"", 0},
        {"soon", 0},
        {"-5", 0},
        {"Wed, 21 Oct 2026 07:28:00 GMT", 0},
        {"3600", 3600},
        {"3601", 3600},
        {"99999999999999999999999999", 3600},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RetryAfterSeconds(c.value), c.seconds) << c.value;
}

}  // namespace
