#include "hooks/TestHooks.h"

#include "claude/ClaudeController.h"
#include "copies/AppCloner.h"
#include "model/Defaults.h"
#include "model/ProfileStore.h"
#include "platform/fake/FakePlatform.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QImage>

using namespace varrow;
using hooks::TestHooks;

namespace {

constexpr auto kClaude = "com.anthropic.claudefordesktop";

class TestHooksTest : public ::testing::Test {
protected:
    void SetUp() override {
        model::Defaults::useFileForTests(home.file("defaults.ini"));
        store = std::make_unique<model::ProfileStore>(home.locations());
        QList<model::Profile> list = store->profiles();
        for (const QString& name : {QStringLiteral("Work"), QStringLiteral("Home"), QStringLiteral("Work")}) {
            model::Profile p;
            p.id = QUuid::createUuid();
            p.name = name;
            p.color = model::ProfileColor::Teal;
            p.folderName = name + QString::number(list.size());
            p.createdAt = QDateTime::currentDateTimeUtc();
            list.append(p);
        }
        store->setProfiles(list);
    }
    void TearDown() override {
        claude.reset();
        model::Defaults::useFileForTests({});
    }
    void withClaude() {
        platform.installations.registered = {home.file("Applications/Claude.app")};
        QDir().mkpath(home.file("Applications/Claude.app"));
        QImage icon(64, 64, QImage::Format_ARGB32_Premultiplied);
        icon.fill(QColor(0xD9, 0x77, 0x57));
        platform.desktopFiles.systemIcon = icon;
    }
    void makeController() {
        claude = std::make_unique<claude::ClaudeController>(store.get(), platform.services());
        claude->setCopyPreparer([this](const model::Profile& profile, const QString&, bool,
                                       std::function<void(copies::AppCloner::Prepared)> done) {
            prepared.append(profile.name);
            done({copies::AppCloner::copyPath(profile, store->appsURL()), {}});
        });
    }
    QProcessEnvironment env(std::initializer_list<std::pair<QString, QString>> values) {
        QProcessEnvironment e;
        for (const auto& [k, v] : values) e.insert(k, v);
        return e;
    }

    test::TempHome home;
    platform::fake::FakePlatform platform;
    std::unique_ptr<model::ProfileStore> store;
    std::unique_ptr<claude::ClaudeController> claude;
    QStringList prepared;
};

TEST(TestHooksNames, SplitDropsEmptyPieces) {
    EXPECT_EQ(TestHooks::splitNames("Work,,Home,"), (QStringList{"Work", "Home"}));
    EXPECT_EQ(TestHooks::splitNames(" Work"), (QStringList{" Work"}));
}

TEST_F(TestHooksTest, OpenOpensEachNamedAccountOnceInOrder) {
    withClaude();
    makeController();
    TestHooks::run(store.get(), claude.get(), platform.services(),
                   env({{"VARROW_OPEN", "Home,work, Work,Work"}}));
    ASSERT_TRUE(test::waitUntil([&] { return platform.processes.openRequests.size() >= 2; }));
    QCoreApplication::processEvents();
    // "Work" names the first of the two accounts called Work, both times.
    EXPECT_EQ(prepared, (QStringList{"Home", "Work"}));
    EXPECT_EQ(platform.processes.openRequests.size(), 2);
}

TEST_F(TestHooksTest, PinNeedsTheWholeValueToBeAName) {
    withClaude();
    makeController();
    TestHooks::run(store.get(), claude.get(), platform.services(), env({{"VARROW_PIN", "Work,Home"}}));
    QCoreApplication::processEvents();
    EXPECT_TRUE(prepared.isEmpty());
    TestHooks::run(store.get(), claude.get(), platform.services(), env({{"VARROW_PIN", "Home"}}));
    EXPECT_TRUE(test::waitUntil([&] { return prepared == QStringList{"Home"}; }));
}

TEST_F(TestHooksTest, IconsForEveryNonDefaultAccountOnlyWithClaude) {
    const QString out = home.file("icons");
    QDir().mkpath(out);
    makeController();
    EXPECT_EQ(TestHooks::writeIcons(*store, *claude, platform.desktopFiles, out), 0);
    EXPECT_TRUE(QDir(out).isEmpty());

    withClaude();
    claude->locateClaude();
    EXPECT_EQ(TestHooks::writeIcons(*store, *claude, platform.desktopFiles, out), 3);
    const QImage icon(QDir(out).filePath("icon-Work.png"));
    EXPECT_EQ(icon.size(), QSize(1024, 1024));
    EXPECT_TRUE(QFile::exists(QDir(out).filePath("icon-Home.png")));
    EXPECT_FALSE(QFile::exists(QDir(out).filePath("icon-My Claude.png")));

    // A missing folder is not created and nothing fails loudly.
    EXPECT_EQ(TestHooks::writeIcons(*store, *claude, platform.desktopFiles, home.file("missing")), 0);
    EXPECT_FALSE(QFile::exists(home.file("missing")));
}

TEST_F(TestHooksTest, ReportLinesForRunningAndStoppedAccounts) {
    withClaude();
    const model::Profile home_ = store->profiles().at(2);
    const QString copy = copies::AppCloner::copyPath(home_, store->appsURL());
    const QString desktop = QDir(*home_.dataFolder(store->accountsURL())).filePath("Desktop");
    platform.processes.addApplication(kClaude, copy, "Claude Home",
                                      {copy + "/Contents/MacOS/Claude", "--user-data-dir=" + desktop});
    makeController();
    ASSERT_EQ(claude->running().size(), 1);
    EXPECT_EQ(claude->statusReport(),
              "My Claude: running=false app=- path=-\n"
              "Work: running=false app=- path=-\n"
              "Home: running=true app=Claude Home path=Claude Home.app\n"
              "Work: running=false app=- path=-");
}

TEST(TestHooksPaths, SwitcherFilesSitBesideTheRender) {
    EXPECT_EQ(TestHooks::switcherPath("/tmp/shot.png", "edge"), "/tmp/shot-switcher-edge.png");
    EXPECT_EQ(TestHooks::switcherPath("/tmp/a.b/shot", "floating"), "/tmp/a.b/shot-switcher-floating.png");
    EXPECT_EQ(TestHooks::switcherPath("/tmp/.png", "edge-open"), "/tmp/.png-switcher-edge-open.png");
}

}  // namespace
