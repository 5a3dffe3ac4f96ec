#include "app/Commands.h"

#include "AppFixture.h"
#include "app/Application.h"

using namespace varrow;
using app::Commands;

namespace {

class CommandsTest : public test::AppFixture {};

TEST_F(CommandsTest, ListFrontOpenShowAndUnknown) {
    addAccounts({"Work", "Home"});
    int shown = 0;
    Commands commands(store.get(), claude.get(), [&] { ++shown; });

    EXPECT_EQ(commands.handle("list", {}),
              "My Claude: running=false app=- path=-\n"
              "Work: running=false app=- path=-\n"
              "Home: running=false app=- path=-\n");
    EXPECT_EQ(commands.handle("front", {}), "-\n");
    EXPECT_EQ(commands.handle("show", {}), QString());
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(commands.handle("open", "work"), "no account named work\n");
    EXPECT_FALSE(commands.handle("dance", {}).has_value());
}

TEST(CommandLine, RecognisesOnlyTheClientCommands) {
    EXPECT_FALSE(app::commandLineRequest({"varrow"}).has_value());
    EXPECT_FALSE(app::commandLineRequest({"varrow", "--login-item"}).has_value());
    EXPECT_FALSE(app::commandLineRequest({"varrow", "open"}).has_value());
    const auto open = app::commandLineRequest({"varrow", "open", "Side", "Project"});
    ASSERT_TRUE(open.has_value());
    EXPECT_EQ(open->command, "open");
    EXPECT_EQ(open->argument, "Side Project");
    EXPECT_EQ(app::commandLineRequest({"varrow", "list"})->command, "list");
}

}  // namespace
