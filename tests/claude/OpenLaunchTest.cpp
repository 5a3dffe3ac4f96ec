#include "ControllerFixture.h"
#include "model/Defaults.h"

#include <QProcessEnvironment>
#include <QTest>

namespace varrow::claude::test {
namespace {

using OpenMode = platform::fake::FakeProcesses::OpenMode;
const QString kMissing = "Claude isn't installed on this computer yet. Download it, then try again.";

TEST_F(ControllerTest, LocatesClaudeButNeverOneOfTheCopies) {
    fake.installations.registered = {store->appsURL() + "/Claude Work.app"};
    EXPECT_EQ(controller().claudeURL(), claudePath);

    const QString elsewhere = home.file("opt/Claude.app");
    QDir().mkpath(elsewhere);
    fake.installations.registered = {elsewhere};
    fake.processes.setSelfActive(true);  // becoming active looks again
    EXPECT_EQ(controller().claudeURL(), elsewhere);

    fake.installations.registered.clear();
    QDir(claudePath).removeRecursively();
    fake.processes.setSelfActive(true);
    EXPECT_EQ(controller().claudeURL(), std::nullopt);
    EXPECT_EQ(ClaudeController::downloadURL(), QUrl("https://claude.ai/download"));
}

TEST_F(ControllerTest, DefaultAccountStartsTheInstalledClaudeUnchanged) {
    LogCapture log;
    qputenv("VARROW_DEBUG", "");
    controller().open(defaultAccount());
    qunsetenv("VARROW_DEBUG");
    ASSERT_EQ(fake.processes.openRequests.size(), 1);
    const auto& request = fake.processes.openRequests.first();
    EXPECT_EQ(request.folder, claudePath);
    EXPECT_TRUE(request.configuration.activates);
    EXPECT_TRUE(request.configuration.newInstance);
    EXPECT_TRUE(request.configuration.arguments.isEmpty());
    EXPECT_TRUE(request.configuration.environment.isEmpty());
    EXPECT_TRUE(prepares.isEmpty());
    EXPECT_EQ(log.lines, QStringList{"[accounts] launch My Claude from Claude.app"});
    ASSERT_TRUE(settled([&] { return controller().running().contains(defaultAccount().id); }));
    EXPECT_TRUE(controller().opening().isEmpty());
}

// Claude is an Electron application: on a Wayland desktop it runs natively unless told to use X11,
// and Varrow's switching reaches only X11 windows.
TEST_F(ControllerTest, OnAWaylandDesktopEveryClaudeStartsOnXwaylandUnlessTurnedOff) {
    model::Defaults::useFileForTests(home.file("defaults.ini"));
    qputenv("XDG_SESSION_TYPE", "wayland");
    const Profile work = addAccount("Work");
    controller().open(defaultAccount());
    controller().open(work);
    ASSERT_TRUE(settled([&] { return fake.processes.openRequests.size() == 2; }));
    EXPECT_EQ(fake.processes.openRequests[0].configuration.arguments, QStringList{"--ozone-platform=x11"});
    EXPECT_EQ(fake.processes.openRequests[1].configuration.arguments,
              QStringList({"--user-data-dir=" + desktopOf(work), "--ozone-platform=x11"}));

    // A Claude started outside Varrow is a native Wayland client; the last platform choice counts.
    EXPECT_TRUE(controller().isNativeWaylandClient(startClaude()));
    EXPECT_FALSE(controller().isNativeWaylandClient(startClaude({"--ozone-platform=x11"}, "/opt/A.app")));
    EXPECT_TRUE(controller().isNativeWaylandClient(
        startClaude({"--ozone-platform=x11", "--ozone-platform=wayland"}, "/opt/B.app")));
    EXPECT_FALSE(
        controller().isNativeWaylandClient(startClaude({"--ozone-platform-hint=x11"}, "/opt/C.app")));

    model::Defaults::shared().setValue(model::Defaults::kStartClaudeThroughXwayland, false);
    EXPECT_TRUE(controller().displayArguments().isEmpty());
    qunsetenv("XDG_SESSION_TYPE");
    model::Defaults::shared().remove(model::Defaults::kStartClaudeThroughXwayland);
    EXPECT_TRUE(controller().displayArguments().isEmpty());  // an X11 desktop
    EXPECT_FALSE(controller().isNativeWaylandClient(startClaude({}, "/opt/D.app")));
    model::Defaults::useFileForTests({});
}

TEST_F(ControllerTest, AccountStartsItsCopyOnItsOwnFolders) {
    const Profile work = addAccount("Work");
    controller().open(work);
    EXPECT_TRUE(controller().opening().contains(work.id));
    ASSERT_TRUE(settled([&] { return controller().running().contains(work.id); }));
    EXPECT_FALSE(controller().opening().contains(work.id));

    ASSERT_EQ(prepares.size(), 1);
    EXPECT_EQ(prepares[0].source, claudePath);
    EXPECT_FALSE(prepares[0].isRunning);
    ASSERT_EQ(fake.processes.openRequests.size(), 1);
    const auto& request = fake.processes.openRequests.first();
    EXPECT_EQ(request.folder, copyOf(work));
    EXPECT_EQ(request.configuration.arguments, QStringList{"--user-data-dir=" + desktopOf(work)});
    const QString code = store->accountsURL() + "/" + work.folderName + "/Code";
    EXPECT_EQ(request.configuration.environment.value("CLAUDE_CONFIG_DIR"), code);
    EXPECT_EQ(request.configuration.environment.size(),
              QProcessEnvironment::systemEnvironment().keys().size() +
                  (qEnvironmentVariableIsSet("CLAUDE_CONFIG_DIR") ? 0 : 1));
    EXPECT_TRUE(QFileInfo(desktopOf(work)).isDir());
    EXPECT_TRUE(QFileInfo(code).isDir());
    EXPECT_TRUE(QFileInfo(AppCloner::updatePolicyDir(desktopOf(work))).isDir());
}

TEST_F(ControllerTest, RealCopyIsMadeOnceAndStarted) {
    realCopies = true;
    writeFile(claudePath + "/Contents/MacOS/Claude", "#!/bin/sh\n");
    const Profile work = addAccount("Work");
    controller().open(work);
    controller().open(work);
    // A real copy: a generous deadline, as a loaded machine copies slowly.
    ASSERT_TRUE(waitUntil([&] { return controller().running().contains(work.id); }, 30000));
    EXPECT_TRUE(QFileInfo::exists(copyOf(work) + "/Contents/MacOS/Claude"));
    ASSERT_EQ(fake.processes.openRequests.size(), 1);
    EXPECT_EQ(fake.processes.openRequests[0].folder, copyOf(work));
}

TEST_F(ControllerTest, MissingClaudeRefusesButARunningAccountStillComesForward) {
    const Profile work = addAccount("Work");
    fake.windowServer.windows.insert(startAccount(work)->processIdentifier(), 1);
    QDir(claudePath).removeRecursively();
    controller().open(defaultAccount());
    EXPECT_EQ(controller().lastError(), kMissing);
    EXPECT_TRUE(controller().opening().isEmpty());

    controller().open(work);  // clears the message and focuses
    EXPECT_EQ(controller().lastError(), std::nullopt);
    EXPECT_TRUE(fake.processes.openRequests.isEmpty());
    EXPECT_EQ(fake.windowServer.frontRequests.size(), 1);
}

TEST_F(ControllerTest, ClicksNeverStartTwoLaunchesOrTwoCopies) {
    const Profile work = addAccount("Work");
    holdPrepare = true;
    for (int i = 0; i < 5; ++i) controller().open(work);
    controller().keepInDock(work);  // must wait for the preparation under way
    EXPECT_EQ(prepares.size(), 1);
    finishPrepare(0);
    ASSERT_TRUE(settled([&] { return prepares.size() == 2; }));
    finishPrepare(1);
    EXPECT_EQ(maxPreparing, 1);

    // A failed attempt's timeout must not end the next attempt early.
    fake.processes.openMode = OpenMode::Fail;
    const Profile home2 = addAccount("Home");
    holdPrepare = false;
    controller().open(home2);
    ASSERT_TRUE(settled([&] { return controller().lastError().has_value(); }));
    fake.processes.openMode = OpenMode::Hold;
    controller().open(home2);
    ASSERT_TRUE(settled([&] { return fake.processes.openRequests.size() == 3; }));
    drain(400);  // well past the first attempt's opening timeout
    EXPECT_TRUE(controller().opening().contains(home2.id));
    controller().open(home2);
    drain(50);
    EXPECT_EQ(fake.processes.openRequests.size(), 3);
}

TEST_F(ControllerTest, FailedLaunchLeavesTheAccountNeitherRunningNorOpening) {
    const Profile work = addAccount("Work");
    fake.processes.openMode = OpenMode::Fail;
    fake.processes.failureText = "no such program";
    controller().open(work);
    ASSERT_TRUE(settled([&] { return controller().lastError().has_value(); }));
    EXPECT_EQ(controller().lastError(), "Claude didn't open: no such program");
    EXPECT_FALSE(controller().opening().contains(work.id));
    EXPECT_FALSE(controller().running().contains(work.id));
}

TEST_F(ControllerTest, FailedCopyIsLoggedAndTheInstalledClaudeRunsTheAccount) {
    LogCapture log;
    const Profile work = addAccount("Work");
    holdPrepare = true;
    controller().open(work);
    finishPrepare(0, "Couldn't prepare this account's copy of Claude (copy failed).");
    EXPECT_TRUE(log.lines.contains("Varrow: Couldn't prepare this account's copy of Claude (copy failed)."));
    ASSERT_EQ(fake.processes.openRequests.size(), 1);
    EXPECT_EQ(fake.processes.openRequests[0].folder, claudePath);
    EXPECT_EQ(fake.processes.openRequests[0].configuration.arguments,
              QStringList{"--user-data-dir=" + desktopOf(work)});
    ASSERT_TRUE(settled([&] { return controller().running().contains(work.id); }));
}

TEST_F(ControllerTest, UnusableDataFolderStopsTheLaunch) {
    Profile work = addAccount("Work");
    writeFile(store->accountsURL() + "/" + work.folderName, "a file, not a folder");
    controller().open(work);
    ASSERT_TRUE(settled([&] { return controller().lastError().has_value(); }));
    EXPECT_TRUE(controller().lastError()->startsWith("Couldn't create the folder for Work: "));
    EXPECT_TRUE(fake.processes.openRequests.isEmpty());
    EXPECT_FALSE(controller().opening().contains(work.id));

    // A hand-edited folder name that would lead outside the accounts folder is refused.
    work.folderName = "..";
    store->update(work);
    controller().open(work);
    ASSERT_TRUE(settled([&] { return controller().lastError().has_value(); }));
    EXPECT_TRUE(controller().lastError()->startsWith("Couldn't create the folder for Work: "));
    EXPECT_FALSE(QFileInfo::exists(store->rootURL() + "/Desktop"));
    EXPECT_TRUE(fake.processes.openRequests.isEmpty());
}

TEST_F(ControllerTest, RenamedWhileOpeningKeepsItsFolderAndItsCopy) {
    Profile work = addAccount("Work");
    holdPrepare = true;
    controller().open(work);
    QDir().mkpath(copyOf(work));  // the copy being made
    work.name = "Job";
    store->update(work);
    drain(50);  // the clean-up after the list change runs
    EXPECT_TRUE(QFileInfo::exists(copyOf(prepares[0].profile)));
    finishPrepare(0);
    ASSERT_EQ(fake.processes.openRequests.size(), 1);
    EXPECT_EQ(fake.processes.openRequests[0].folder, copyOf(prepares[0].profile));
    EXPECT_EQ(fake.processes.openRequests[0].configuration.arguments,
              QStringList{"--user-data-dir=" + desktopOf(work)});
    ASSERT_TRUE(settled([&] { return controller().running().contains(work.id); }));
}

TEST_F(ControllerTest, RemovedWhileItsCopyIsMadeIsNotStarted) {
    const Profile work = addAccount("Work");
    holdPrepare = true;
    controller().open(work);
    store->remove(work, false);
    finishPrepare(0);
    drain(50);
    EXPECT_TRUE(fake.processes.openRequests.isEmpty());
    EXPECT_TRUE(controller().opening().isEmpty());
}

TEST_F(ControllerTest, KeepInDockPinsTheCopyOrSaysWhyNot) {
    const Profile work = addAccount("Work");
    controller().keepInDock(defaultAccount());
    EXPECT_TRUE(prepares.isEmpty());

    controller().keepInDock(work);
    ASSERT_TRUE(settled([&] { return controller().isPinned(work); }));
    EXPECT_TRUE(fake.pinnedApps.contains(copyOf(work)));

    holdPrepare = true;
    const Profile home2 = addAccount("Home");
    controller().keepInDock(home2);
    finishPrepare(prepares.size() - 1, "Couldn't prepare this account's copy of Claude (copy failed).");
    EXPECT_EQ(controller().lastError(), "Couldn't prepare this account's copy of Claude (copy failed).");

    // The desktop's own reason reaches the message.
    fake.pinnedApps.failure =
        varrow::Failure{"The desktop's settings could not be changed.", "No such schema"};
    controller().keepInDock(home2);
    finishPrepare(prepares.size() - 1);
    ASSERT_TRUE(settled([&] { return controller().lastError()->startsWith("Couldn't add"); }));
    EXPECT_EQ(*controller().lastError(),
              "Couldn't add Home to your favourite applications. (No such schema)");
    EXPECT_FALSE(controller().isPinned(home2));
}

// A new instance is brought forward once its first window shows, unless it has already been in
// front: then whatever the user has put in front since stays there, however quick the look.
TEST_F(ControllerTest, ALaunchIsBroughtForwardOnlyIfItNeverCameForwardByItself) {
    const Profile work = addAccount("Work");
    const auto launch = [&](const Profile& profile) {
        controller().open(profile);
        EXPECT_TRUE(settled([&] { return controller().running().contains(profile.id); }));
        return controller().running().value(profile.id);
    };
    const AppHandle quick = launch(work);
    fake.processes.setFrontmost(quick);
    fake.processes.setFrontmost(nullptr);
    fake.windowServer.windows.insert(quick->processIdentifier(), 1);
    QTest::qWait(int(Timings::firstWindowPoll().count()) * 5);
    EXPECT_TRUE(fake.windowServer.frontRequests.isEmpty());

    const AppHandle slow = launch(defaultAccount());
    fake.windowServer.windows.insert(slow->processIdentifier(), 2);
    EXPECT_TRUE(settled([&] { return fake.windowServer.frontRequests.contains(slow->processIdentifier()); }));
}

// Opened together, whichever window shows first: only the last account asked for is brought
// forward, so none of the others pulls the front back from it.
TEST_F(ControllerTest, OfAccountsOpenedTogetherOnlyTheLastAskedIsBroughtForward) {
    const Profile work = addAccount("Work");
    const Profile home = addAccount("Home");
    for (const Profile& profile : {work, home, defaultAccount()}) controller().open(profile);
    ASSERT_TRUE(settled([&] { return controller().running().size() == 3; }));
    const QList<AppHandle> apps{controller().running().value(defaultAccount().id),
                                controller().running().value(work.id), controller().running().value(home.id)};
    for (int i = 0; i < apps.size(); ++i)
        fake.windowServer.windows.insert(apps[i]->processIdentifier(), i + 1);
    const pid_t last = apps.first()->processIdentifier();
    EXPECT_TRUE(settled([&] { return fake.windowServer.frontRequests.contains(last); }));
    QTest::qWait(int(Timings::firstWindowPoll().count()) * 3);
    EXPECT_EQ(fake.windowServer.frontRequests, QList<pid_t>{last});
}

}  // namespace
}  // namespace varrow::claude::test
