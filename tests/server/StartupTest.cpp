// What korimo-board refuses to start with: one line on standard error naming the fault, and
// its exit code (2 for the command line, 1 for the rest); it never serves in spite of one.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/server/BoardProcess.h"
#include "tests/support/Command.h"

namespace {

// A board that starts after all is stopped after a few seconds, failing the row.
CommandOutcome RunBoard(const std::string& arguments)
{
    return RunCommand("timeout 5 " + BoardProgram() + " --listen 127.0.0.1:0 " + arguments +
                      " 2>&1");
}

TEST(StartupTest, ABoardThatCannotRunSafelyRefusesToStart)
{
    const std::string folder = FreshFolder("startup");
    const std::string database =
        " --database sqlite:" + folder + "/board.sqlite --game " + GameProgram();
    const std::string readable = folder + "/readable-token", shortToken = folder + "/short-token";
    std::ofstream(readable) << "a-token-long-enough-to-use\n";
    std::filesystem::permissions(readable, std::filesystem::perms::owner_read |
                                               std::filesystem::perms::others_read);
    std::ofstream(shortToken) << "short\n";
    std::filesystem::permissions(shortToken, std::filesystem::perms::owner_read);

    const struct {
        const char* what;
        std::string arguments;
        int exitCode;
        const char* says;
    } rows[] = {
        {"a token others can read", database + " --admin-token-file " + readable, 1,
         "can be read by others"},
        {"a token too short", database + " --admin-token-file " + shortToken, 1, "shorter than 16"},
        {"no token file", database + " --admin-token-file " + folder + "/none", 1,
         "cannot read the admin token"},
        {"no game", " --database sqlite:" + folder + "/b.sqlite --game " + folder + "/none", 1,
         "cannot be run"},
        {"a database of no kind", " --database mysql://x --game " + GameProgram(), 1,
         "neither sqlite"},
        {"a database it cannot open",
         " --database sqlite:" + folder + "/none/b.sqlite --game " + GameProgram(), 1, "database:"},
        {"no workers", database + " --workers 0", 2, "bad value for --workers"},
        {"an unknown option", database + " --verbose yes", 2, "unknown option --verbose"},
    };
    for (const auto& row : rows) {
        const CommandOutcome outcome = RunBoard(row.arguments);
        EXPECT_EQ(outcome.exitCode, row.exitCode) << row.what << ": " << outcome.output;
        EXPECT_NE(outcome.output.find(row.says), std::string::npos)
            << row.what << ": " << outcome.output;
        EXPECT_EQ(outcome.output.find("serving"), std::string::npos) << row.what;
    }
}

}  // namespace
