// Two boards on one PostgreSQL database, a throwaway cluster.
#include <future>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "tests/server/PostgresCluster.h"
#include "tests/server/Variants.h"

namespace {

using nlohmann::json;

TEST(PostgresTest, TwoBoardsShareOneDatabaseAndAFileSentToBothIsStoredOnce)
{
    const std::string bin = PostgresBin();
    if (bin.empty())
        GTEST_SKIP() << "PostgreSQL's server is not installed (tools/setup-dev.sh installs it)";
    Cluster cluster(bin);
    ASSERT_TRUE(cluster.ready) << "the throwaway PostgreSQL cluster did not start";

    const std::vector<std::string> arguments = {"--database",  cluster.Url(),          "--game",
                                                GameProgram(), "--uploads-per-minute", "0"};
    BoardProcess first(arguments), second(arguments);
    ASSERT_TRUE(first.Running() && second.Running());

    const std::string golden = GoldenReplay();
    auto sendTo = [&](BoardProcess& board, int key) {
        return std::async(std::launch::async, [&board, &golden, key] {
            auto client = board.Client();
            const httplib::Result result =
                Upload(*client, "Both" + std::to_string(key), PlayerKey(key), golden);
            return result ? result->status : 0;
        });
    };
    auto one = sendTo(first, 7), other = sendTo(second, 8);
    std::multiset<int> statuses = {one.get(), other.get()};
    EXPECT_EQ(statuses, (std::multiset<int>{201, 409}));

    for (BoardProcess* board : {&first, &second}) {
        auto client = board->Client();
        const json top = json::parse(client->Get("/api/top?length=1")->body);
        ASSERT_EQ(top["runs"].size(), 1u);
        EXPECT_EQ(top["runs"][0]["score"], 33490);
        const std::string id = std::to_string(top["runs"][0]["id"].get<int64_t>());
        EXPECT_EQ(client->Get(("/runs/" + id + ".krp").c_str())->body, golden);
    }

    // The name the stored run took, bound on one board, is refused on both to another key.
    auto client = first.Client();
    const std::string name = json::parse(client->Get("/api/top?length=1")->body)["runs"][0]["name"];
    for (BoardProcess* board : {&first, &second}) {
        auto client = board->Client();
        const httplib::Result stolen = Upload(*client, name, PlayerKey(9), GoldenOfDate(1));
        ASSERT_TRUE(stolen);
        EXPECT_EQ(stolen->status, 403) << stolen->body;
    }
}

}  // namespace
