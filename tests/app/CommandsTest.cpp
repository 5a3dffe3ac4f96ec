#include "app/Commands.h"

#include "AppFixture.h"
#include "app/StartupWiring.h"
#include "copies/AppCloner.h"
#include "system/CycleHotKey.h"

#include <QDir>
#include <QTest>

using namespace varrow;
using app::Commands;

namespace {

class CommandsTest : public test::AppFixture {
protected:
    void TearDown() override {
        app::StartupWiring::shared().reset();
        AppFixture::TearDown();
    }
};

TEST_F(CommandsTest, ListFrontOpenShowAndUnknown) {
    addAccounts({"Work", "Home"});
    int shown = 0;
    Commands commands(store.get(), claude.get(), {[&] { ++shown; }, {}, {}});

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

TEST_F(CommandsTest, CycleIsTheHotKeysAndDoesNothingWithoutClaudeInFront) {
    addAccounts({"Work", "Home", "Side"});
    auto launch = [&](const model::Profile& p) {
        const QString copy = copies::AppCloner::copyPath(p, store->appsURL());
        const QString desktop = QDir(*p.dataFolder(store->accountsURL())).filePath("Desktop");
        return platform.processes.addApplication(
            "com.anthropic.claudefordesktop", copy, "Claude " + p.name,
            {copy + "/Contents/MacOS/Claude", "--user-data-dir=" + desktop});
    };
    const platform::AppHandle work = launch(store->profiles().at(1));
    launch(store->profiles().at(2));
    const platform::AppHandle side = launch(store->profiles().at(3));
    app::StartupWiring::shared().start(store.get(), claude.get());
    Commands commands(
        store.get(), claude.get(),
        {{}, [](bool backwards) { app::StartupWiring::shared().hotKey()->trigger(backwards); }, {}});
    ASSERT_TRUE(test::waitUntil([&] { return claude->running().size() == 3; }));

    EXPECT_EQ(commands.handle("cycle", {}), QString());
    QTest::qWait(50);  // the press would be handled on the next turn of the loop
    EXPECT_TRUE(platform.windowServer.frontRequests.isEmpty());

    platform.processes.setFrontmost(work);
    ASSERT_TRUE(test::waitUntil([&] { return claude->claudeIsFront(); }));
    EXPECT_EQ(commands.handle("cycle", "back"), QString());
    // Backwards from the first open account wraps round to the last.
    EXPECT_TRUE(test::waitUntil(
        [&] { return platform.windowServer.frontRequests.contains(side->processIdentifier()); }));
}

}  // namespace
