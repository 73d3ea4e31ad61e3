#include "app/PlayerName.h"

#include <cstdlib>

#include <gtest/gtest.h>

namespace {

TEST(PlayerName, TakesWhatABoardTakesTrimmed)
{
    const struct {
        const char* text;
        const char* kept;  // null: refused
    } cases[] = {
        {"Mio", "Mio"},
        {"  spaced out  ", "spaced out"},
        {"a-b_c.d 9", "a-b_c.d 9"},
        {"sixteen chars ok", "sixteen chars ok"},
        {"seventeen charsxx", nullptr},
        {"", nullptr},
        {"    ", nullptr},
        {"<script>", nullptr},
        {"tab\there", nullptr},
        {"new\nline", nullptr},
        {"caf\xc3\xa9", nullptr},
    };
    for (const auto& c : cases) {
        const auto name = PlayerNameFrom(c.text);
        if (c.kept) {
            ASSERT_TRUE(name.has_value()) << c.text;
            EXPECT_EQ(*name, c.kept) << c.text;
        } else {
            EXPECT_FALSE(name.has_value()) << c.text;
        }
    }
}

TEST(PlayerName, TheDefaultComesFromTheLoginName)
{
    const struct {
        const char* login;
        const char* name;
    } cases[] = {
        {"mio", "mio"},
        {"first.last@example", "first.lastexampl"},
        {"$$$", "PLAYER"},
    };
    for (const auto& c : cases) {
        setenv("USER", c.login, 1);
        unsetenv("LOGNAME");
        unsetenv("USERNAME");
        EXPECT_EQ(DefaultPlayerName(), c.name) << c.login;
    }
}

}  // namespace
