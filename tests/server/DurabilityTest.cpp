// kill -9 in the middle of a stream of uploads: every upload that was answered 201 is on the
// board after a restart, byte for byte, and the SQLite file passes its integrity check.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sqlite3.h>

#include <atomic>
#include <csignal>
#include <mutex>
#include <thread>

#include "tests/server/Variants.h"

namespace {

using nlohmann::json;

std::string IntegrityCheck(const std::string& path)
{
    sqlite3* db = nullptr;
    std::string verdict = "cannot open";
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
        sqlite3_exec(
            db, "PRAGMA integrity_check",
            [](void* out, int, char** values, char**) {
                *static_cast<std::string*>(out) = values[0] ? values[0] : "";
                return 0;
            },
            &verdict, nullptr);
    }
    sqlite3_close(db);
    return verdict;
}

TEST(DurabilityTest, EveryRunAnswered201SurvivesAKillInTheMiddleOfUploads)
{
    const std::string folder = FreshFolder("durability");
    const std::string database = folder + "/board.sqlite";
    const std::vector<std::string> arguments = {
        "--database", "sqlite:" + database,   "--game", PassingVerifier(folder), "--workers",
        "4",          "--uploads-per-minute", "0"};
    std::mutex mutex;
    std::vector<std::pair<int64_t, std::string>> accepted;  // id, the file sent
    {
        BoardProcess board(arguments);
        std::atomic<bool> stop{false};
        std::vector<std::thread> clients;
        for (int c = 0; c < 4; ++c) {
            clients.emplace_back([&, c] {
                auto client = board.Client();
                for (uint64_t n = 0; !stop; ++n) {
                    const std::string file = GoldenOfDate(1700000000 + n * 8 + c);
                    const httplib::Result result =
                        Upload(*client, "Stream" + std::to_string(c), PlayerKey(c), file);
                    if (!result)
                        return;  // the board is gone
                    if (result->status == 201) {
                        std::lock_guard lock(mutex);
                        accepted.emplace_back(json::parse(result->body)["id"].get<int64_t>(), file);
                    }
                }
            });
        }
        for (int i = 0; i < 200 && accepted.size() < 30; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        const int status = board.Stop(SIGKILL);
        EXPECT_TRUE(WIFSIGNALED(status));
        stop = true;
        for (std::thread& client : clients)
            client.join();
    }
    ASSERT_GE(accepted.size(), 10u) << "too few uploads before the kill to tell anything";

    BoardProcess again(arguments);
    auto client = again.Client();
    for (const auto& [id, file] : accepted) {
        const httplib::Result stored =
            client->Get(("/runs/" + std::to_string(id) + ".krp").c_str());
        ASSERT_TRUE(stored);
        EXPECT_EQ(stored->status, 200) << "run " << id;
        EXPECT_TRUE(stored->body == file) << "run " << id << " is not the file sent";
    }
    again.Stop(SIGTERM);
    EXPECT_EQ(IntegrityCheck(database), "ok");
}

}  // namespace
