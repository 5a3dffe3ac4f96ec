#include "app/StartupWiring.h"

#include "AppFixture.h"
#include "switcher/SwitcherController.h"
#include "system/CycleHotKey.h"

using namespace varrow;
using app::StartupWiring;
using model::Defaults;

namespace {

class StartupWiringTest : public test::AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        savedHome = qgetenv("VARROW_HOME");
        hadHome = qEnvironmentVariableIsSet("VARROW_HOME");
        qunsetenv("VARROW_HOME");
    }
    void TearDown() override {
        StartupWiring::shared().reset();
        if (hadHome) qputenv("VARROW_HOME", savedHome);
        AppFixture::TearDown();
    }
    QByteArray savedHome;
    bool hadHome = false;
};

TEST_F(StartupWiringTest, FirstRunRegistersOnceEvenWhenItFails) {
    platform.loginItems.failure = QStringLiteral("not allowed");
    EXPECT_TRUE(StartupWiring::setUpLoginItemOnFirstRun());
    EXPECT_EQ(platform.loginItems.setCalls, 1);
    EXPECT_TRUE(Defaults::shared().didSetUpLoginItem());

    platform.loginItems.failure.clear();
    EXPECT_FALSE(StartupWiring::setUpLoginItemOnFirstRun());
    EXPECT_EQ(platform.loginItems.setCalls, 1);
    EXPECT_FALSE(platform.loginItems.enabled);
}

TEST_F(StartupWiringTest, RunAgainstAnotherHomeNeverRegistersNorMarks) {
    qputenv("VARROW_HOME", home.file("elsewhere").toUtf8());
    EXPECT_FALSE(StartupWiring::setUpLoginItemOnFirstRun());
    EXPECT_EQ(platform.loginItems.setCalls, 0);
    EXPECT_FALSE(Defaults::shared().contains(Defaults::kDidSetUpLoginItem));

    qunsetenv("VARROW_HOME");
    EXPECT_TRUE(StartupWiring::setUpLoginItemOnFirstRun());
    EXPECT_TRUE(platform.loginItems.enabled);
}

TEST_F(StartupWiringTest, StartMakesTheLongLivedObjectsOnceAndWiresTheHotKey) {
    StartupWiring::shared().start(store.get(), claude.get());
    auto* switcher = StartupWiring::shared().switcher();
    auto* hotKey = StartupWiring::shared().hotKey();
    ASSERT_NE(switcher, nullptr);
    ASSERT_NE(hotKey, nullptr);
    StartupWiring::shared().start(store.get(), claude.get());
    EXPECT_EQ(StartupWiring::shared().switcher(), switcher);
    EXPECT_EQ(StartupWiring::shared().hotKey(), hotKey);
    EXPECT_EQ(platform.loginItems.setCalls, 1);

    // Claude coming to the front registers the keys through the controller's signal.
    EXPECT_FALSE(hotKey->isRegistered());
    platform.installations.registered = {"/opt/Claude.app"};
    const auto app = platform.processes.addApplication(claude::ClaudeController::kApplicationId,
                                                       "/opt/Claude.app", "Claude");
    platform.processes.setFrontmost(app);
    ASSERT_TRUE(test::waitUntil([&] { return claude->claudeIsFront(); }));
    EXPECT_TRUE(test::waitUntil([&] { return hotKey->isRegistered(); }));
}

}  // namespace
