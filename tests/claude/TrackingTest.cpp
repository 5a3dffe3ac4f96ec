#include "ControllerFixture.h"

#include "claude/DebugLog.h"

#include <QFile>

namespace varrow::claude::test {
namespace {

TEST_F(ControllerTest, ProcessesAreMatchedToAccountsByDataFolder) {
    const Profile work = addAccount("Work");
    const Profile home2 = addAccount("Home");
    QDir().mkpath(desktopOf(work));
    QFile::link(store->accountsURL() + "/" + work.folderName, home.file("link"));

    const AppHandle installed = startClaude();
    const AppHandle viaLink = startClaude({"--user-data-dir=" + home.file("link/Desktop/")});
    const AppHandle stranger = startClaude({"--user-data-dir=/somewhere/else"});
    const AppHandle bareCopy = startClaude({}, copyOf(home2));
    const AppHandle gone = startClaude({"--user-data-dir=" + desktopOf(home2)});
    fake.processes.setArgumentsUnreadable(gone->processIdentifier());

    EXPECT_EQ(controller().profile(installed)->id, defaultAccount().id);
    EXPECT_EQ(controller().profile(viaLink)->id, work.id);
    EXPECT_EQ(controller().profile(stranger), std::nullopt);
    EXPECT_EQ(controller().profile(bareCopy), std::nullopt);
    EXPECT_EQ(controller().profile(gone), std::nullopt);
    EXPECT_EQ(controller().dataDir(gone), std::nullopt);
    EXPECT_TRUE(controller().isCopy(bareCopy));
    EXPECT_FALSE(controller().isCopy(installed));
    EXPECT_EQ(controller().copyOwner(bareCopy)->id, home2.id);

    // The later of two processes of one account wins.
    const AppHandle second = startClaude({"--user-data-dir=" + desktopOf(work)});
    EXPECT_EQ(controller().running().value(work.id), second);
    EXPECT_EQ(controller().running().size(), 2);
}

TEST_F(ControllerTest, WithoutADefaultAccountTheInstalledClaudeIsNobodys) {
    const Profile work = addAccount("Work");
    store->setProfiles({work});
    const AppHandle installed = startClaude();
    EXPECT_EQ(controller().profile(installed), std::nullopt);
    // The fallback launch: the installed Claude on an account's folder is that account.
    const AppHandle fallback = startClaude({"--user-data-dir=" + desktopOf(work)});
    EXPECT_EQ(controller().profile(fallback)->id, work.id);
}

TEST_F(ControllerTest, FrontStateFollowsActivationExceptDuringAHandOff) {
    const Profile work = addAccount("Work");
    const AppHandle app = startAccount(work);
    const AppHandle editor = fake.processes.addApplication("org.example.editor", "/Editor.app", "Editor");
    controller();
    fake.processes.setFrontmost(app);
    EXPECT_TRUE(controller().claudeIsFront());
    EXPECT_EQ(controller().frontProfileID(), work.id);

    controller().focus(app);
    fake.processes.setFrontmost(fake.processes.thisApplication());
    EXPECT_TRUE(controller().claudeIsFront());  // Varrow is only passing activation on
    drain(100);  // the 1.2 s window, scaled, has passed and the switcher's chain has ended
    fake.processes.setFrontmost(fake.processes.thisApplication());
    EXPECT_FALSE(controller().claudeIsFront());
    EXPECT_EQ(controller().frontProfileID(), std::nullopt);

    fake.processes.setFrontmost(editor);
    EXPECT_FALSE(controller().claudeIsFront());
}

TEST_F(ControllerTest, CopyStartedWithoutItsFolderIsRelaunchedProperly) {
    LogCapture log;
    qputenv("VARROW_DEBUG", "1");
    const Profile work = addAccount("Work");
    QDir().mkpath(copyOf(work));
    controller();
    const AppHandle wrong = startClaude({}, copyOf(work));
    qunsetenv("VARROW_DEBUG");
    EXPECT_EQ(fake.processes.forceTerminated, QList<pid_t>{wrong->processIdentifier()});
    EXPECT_TRUE(log.lines.contains(
        QString("[accounts] wrong account: pid %1 of Work, relaunching").arg(wrong->processIdentifier())));
    ASSERT_TRUE(settled([&] { return controller().running().contains(work.id); }));
    ASSERT_EQ(fake.processes.openRequests.size(), 1);
    EXPECT_EQ(fake.processes.openRequests[0].configuration.arguments,
              QStringList{"--user-data-dir=" + desktopOf(work)});
}

TEST_F(ControllerTest, WrongAccountCatchLeavesEverythingElseAlone) {
    const Profile work = addAccount("Work");
    controller();
    startClaude();                                            // the installed Claude
    startClaude({}, store->appsURL() + "/Claude Other.app");  // a copy nobody owns
    const AppHandle unreadable =
        fake.processes.addApplication(kClaude, copyOf(work), "Claude Work", {}, false);
    fake.processes.setArgumentsUnreadable(unreadable->processIdentifier());
    emit fake.processes.applicationLaunched(unreadable);
    fake.processes.addApplication("org.example.tool", copyOf(work), "Claude Work");  // not Claude
    drain(50);
    EXPECT_TRUE(fake.processes.forceTerminated.isEmpty());
    EXPECT_TRUE(fake.processes.openRequests.isEmpty());
}

TEST_F(ControllerTest, AccountRemovedDuringTheForcedQuitIsNotRelaunched) {
    const Profile work = addAccount("Work");
    fake.processes.forceTerminateKills = false;
    controller();
    const AppHandle wrong = startClaude({}, copyOf(work));
    emit fake.processes.applicationLaunched(wrong);  // a repeated notice while it quits
    EXPECT_EQ(fake.processes.forceTerminated.size(), 1);
    store->remove(work, false);
    fake.processes.removeApplication(wrong);
    drain(100);
    EXPECT_TRUE(fake.processes.openRequests.isEmpty());
}

TEST_F(ControllerTest, ListChangesTidyCopiesButStartUpDoesNot) {
    const Profile work = addAccount("Work");
    const Profile gone = addAccount("Gone");
    const Profile busy = addAccount("Busy");
    for (const Profile& p : {work, gone, busy}) QDir().mkpath(copyOf(p));
    startClaude({}, copyOf(busy));
    controller();
    drain(30);
    EXPECT_TRUE(QFileInfo::exists(copyOf(gone)));  // nothing at start-up

    store->setProfiles({defaultAccount(), work});
    ASSERT_TRUE(settled([&] { return !QFileInfo::exists(copyOf(gone)); }));
    EXPECT_TRUE(QFileInfo::exists(copyOf(work)));
    EXPECT_TRUE(QFileInfo::exists(copyOf(busy)));  // still running
    EXPECT_FALSE(controller().isPinned(defaultAccount()));
}

TEST(DebugLogTest, WritesOnlyWhenAskedAndVerbatim) {
    LogCapture log;
    qunsetenv("VARROW_DEBUG");
    debugLog("hidden");
    qputenv("VARROW_DEBUG", "");
    debugLog("100% %@ %s");
    qunsetenv("VARROW_DEBUG");
    EXPECT_EQ(log.lines, QStringList{"[accounts] 100% %@ %s"});
}

}  // namespace
}  // namespace varrow::claude::test
