#include "platform/Timings.h"
#include "platform/linux/ProcScanner.h"
#include "support/ProcTree.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <unistd.h>
#include <QFile>
#include <QFileInfo>

using varrow::platform::AppHandle;
using varrow::platform::RunningApplication;
using varrow::platform::linux_::ProcScanner;
using varrow::test::ProcTree;
using varrow::test::TempHome;

namespace {

constexpr auto kClaude = "com.anthropic.claudefordesktop";

struct ScannerFixture : ::testing::Test {
    TempHome home;
    ProcTree tree{home.file("proc")};
    int handlesMade = 0;
    ProcScanner scanner{
        tree.root(), ::getuid(),
        [this](pid_t pid, quint64 start, const QString& id, const QString& path, const QString& name) {
            ++handlesMade;
            return std::make_shared<RunningApplication>(nullptr, pid, start, id, path, name);
        }};
    QString claude = ProcTree::makeBundle(home.file("Applications"), "Claude", kClaude, "Claude");
    QString work = ProcTree::makeBundle(home.file("Apps"), "Claude Work", kClaude, "Claude");

    QList<pid_t> pids() const {
        QList<pid_t> list;
        for (const AppHandle& app : scanner.applications()) list.append(app->processIdentifier());
        return list;
    }
};

}  // namespace

TEST_F(ScannerFixture, FindsBundleProcessesAndSkipsHelpersAndOthers) {
    tree.addProcess(1, 0, 1, "/sbin/init");
    tree.addProcess(300, 1, 50, claude + "/Contents/MacOS/Claude");
    tree.addProcess(301, 300, 51, claude + "/Contents/MacOS/Claude", {"--type=renderer"});
    tree.addProcess(302, 301, 52, claude + "/Contents/MacOS/Claude", {"--type=gpu-process"});
    tree.addProcess(200, 1, 40, work + "/Contents/MacOS/Claude", {"--user-data-dir=/x"});
    tree.addProcess(400, 1, 60, "/usr/bin/bash");
    tree.addProcess(401, 1, 61, home.file("Loose.app/Contents/MacOS"));  // no executable name

    const auto changes = scanner.scan();
    // In start order; the helpers of Claude (child and grandchild) are not applications.
    EXPECT_EQ(pids(), (QList<pid_t>{200, 300}));
    EXPECT_EQ(changes.launched.size(), 2);
    const AppHandle app = scanner.application(200);
    ASSERT_TRUE(app);
    EXPECT_EQ(app->applicationId(), kClaude);
    EXPECT_EQ(app->installationFolder(), work);
    EXPECT_EQ(app->localizedName(), "Claude Work");
    EXPECT_EQ(app->startTime(), 40u);
    EXPECT_EQ(scanner.readArguments(200),
              (QStringList{work + "/Contents/MacOS/Claude", "--user-data-dir=/x"}));
}

TEST_F(ScannerFixture, SameBundleStartedFromAnotherProcessIsAnApplication) {
    tree.addProcess(300, 1, 50, claude + "/Contents/MacOS/Claude");
    tree.addProcess(310, 300, 55, work + "/Contents/MacOS/Claude");  // another bundle: not a helper
    tree.addProcess(320, 1, 56, claude + "/Contents/MacOS/Claude");  // a second instance
    scanner.scan();
    EXPECT_EQ(pids(), (QList<pid_t>{300, 310, 320}));
}

TEST_F(ScannerFixture, OtherUsersAndBrokenBundlesAreSkipped) {
    tree.addProcess(300, 1, 50, claude + "/Contents/MacOS/Claude");
    ProcScanner foreign(tree.root(), ::getuid() + 1,
                        [](pid_t pid, quint64 s, const QString& id, const QString& p, const QString& n) {
                            return std::make_shared<RunningApplication>(nullptr, pid, s, id, p, n);
                        });
    foreign.scan();
    EXPECT_TRUE(foreign.applications().isEmpty());

    // A bundle without Info.plist still runs as an application, without an identifier.
    QFile::remove(claude + "/Contents/Info.plist");
    scanner.scan();
    ASSERT_EQ(pids(), QList<pid_t>{300});
    EXPECT_EQ(scanner.applications().first()->applicationId(), "");
}

TEST_F(ScannerFixture, VanishedAndHalfReadableProcessesAreSkipped) {
    tree.addProcess(300, 1, 50, claude + "/Contents/MacOS/Claude");
    tree.addProcess(301, 1, 51, work + "/Contents/MacOS/Claude");
    QFile::remove(tree.root() + "/301/stat");  // listed, then gone before its stat was read
    tree.addProcess(302, 1, 52, work + "/Contents/MacOS/Claude");
    QFile::remove(tree.root() + "/302/exe");  // exe unreadable: not an application
    tree.setState(303, 1, 53, 'S');           // stat only, truncated
    QFile::resize(tree.root() + "/303/stat", 12);
    scanner.scan();
    EXPECT_EQ(pids(), QList<pid_t>{300});
    EXPECT_FALSE(scanner.readArguments(301 + 1000));
    EXPECT_FALSE(scanner.readStat(303));
}

TEST_F(ScannerFixture, ProcessSeenBeforeItsExecIsLookedAtAgain) {
    // A shell forks (same pid and start time as the program it then runs) and is seen first.
    tree.addProcess(400, 1, 60, "/usr/bin/bash");
    EXPECT_FALSE(scanner.anyProcess(400)->applicationId().size());
    scanner.scan();
    EXPECT_FALSE(scanner.application(400));
    tree.addProcess(400, 1, 60, work + "/Contents/MacOS/Claude");
    const auto changes = scanner.scan();
    ASSERT_EQ(changes.launched.size(), 1);
    EXPECT_EQ(changes.launched.first()->processIdentifier(), 400);
    // A lookup by pid before any scan (a window activated early) does not hide it either.
    tree.addProcess(401, 1, 61, work + "/Contents/MacOS/Claude");
    EXPECT_EQ(scanner.anyProcess(401)->installationFolder(), QFileInfo(work).canonicalFilePath());
    ASSERT_EQ(scanner.scan().launched.size(), 1);
}

TEST_F(ScannerFixture, RescanReadsOnlyWhatChangedAndKeepsHandles) {
    tree.addProcess(300, 1, 50, claude + "/Contents/MacOS/Claude");
    tree.addProcess(200, 1, 40, work + "/Contents/MacOS/Claude");
    scanner.scan();
    const AppHandle first = scanner.application(300);
    const int made = handlesMade;

    // A known process is not inspected again: repointing its exe (same name) changes nothing.
    tree.addProcess(300, 1, 50, "/usr/bin/Claude");
    auto changes = scanner.scan();
    EXPECT_TRUE(changes.launched.isEmpty());
    EXPECT_TRUE(changes.terminated.isEmpty());
    EXPECT_EQ(scanner.application(300), first);
    EXPECT_EQ(handlesMade, made);

    // The same pid with another start time is another process.
    tree.addProcess(300, 1, 90, claude + "/Contents/MacOS/Claude");
    changes = scanner.scan();
    ASSERT_EQ(changes.terminated.size(), 1);
    ASSERT_EQ(changes.launched.size(), 1);
    EXPECT_EQ(changes.terminated.first(), first);
    EXPECT_NE(changes.launched.first(), first);
    EXPECT_EQ(changes.launched.first()->startTime(), 90u);

    // Exit: first a zombie, then gone.
    tree.setState(200, 1, 40, 'Z');
    changes = scanner.scan();
    EXPECT_EQ(changes.terminated.size(), 1);
    tree.remove(200);
    changes = scanner.scan();
    EXPECT_TRUE(changes.terminated.isEmpty());
    EXPECT_EQ(pids(), QList<pid_t>{300});
}

TEST_F(ScannerFixture, ScriptExecutablesAreRecognisedThroughTheirInterpreter) {
    const QString tool = ProcTree::makeBundle(home.file("Apps"), "Tool", "org.example.tool", "Tool");
    const QString shell = QFileInfo("/bin/sh").canonicalFilePath();  // the tool's "#!" interpreter
    tree.addProcess(500, 1, 70, shell, {tool + "/Contents/MacOS/Tool", "--flag"});
    // An interpreter merely reading a file of a bundle is not that bundle; nor is an editor.
    tree.addProcess(501, 1, 71, shell, {tool + "/Contents/Info.plist"});
    tree.addProcess(502, 1, 72, "/usr/bin/vim", {tool + "/Contents/MacOS/Tool"});
    scanner.scan();
    EXPECT_EQ(pids(), QList<pid_t>{500});
    EXPECT_EQ(scanner.application(500)->applicationId(), "org.example.tool");
}

TEST_F(ScannerFixture, AdoptedProcessKeepsItsHandleThroughScans) {
    tree.addProcess(600, 1, 80, "/usr/bin/dash", {"/elsewhere/script"});
    const AppHandle adopted = scanner.adopt(600, work);
    ASSERT_TRUE(adopted);
    EXPECT_EQ(adopted->applicationId(), kClaude);  // as its installation names it
    const auto changes = scanner.scan();
    ASSERT_EQ(changes.launched.size(), 1);
    EXPECT_EQ(changes.launched.first(), adopted);
    EXPECT_EQ(scanner.application(600), adopted);
    EXPECT_FALSE(scanner.adopt(601, work));  // already gone
    // Any live process can get a handle (the front window's owner), stable per process.
    tree.addProcess(700, 1, 90, "/usr/bin/xterm");
    scanner.scan();
    const AppHandle plain = scanner.anyProcess(700);
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->localizedName(), "xterm");
    EXPECT_EQ(plain->applicationId(), "");
    EXPECT_EQ(scanner.anyProcess(700), plain);
    EXPECT_FALSE(scanner.applications().contains(plain));
}

TEST_F(ScannerFixture, UpdateLooksOnlyAtProcessesCreatedSinceTheLastLook) {
    tree.addProcess(1, 0, 1, "/sbin/init");
    tree.addProcess(300, 1, 50, claude + "/Contents/MacOS/Claude");
    tree.setLastCreated(300);
    scanner.scan();
    ASSERT_EQ(pids(), QList<pid_t>{300});

    // Nothing created for a long time: nothing is read, so a process that would be new to a full
    // scan (its id is older than the newest) stays unseen.
    tree.addProcess(250, 1, 45, work + "/Contents/MacOS/Claude");
    for (int i = 0; i < 1000; ++i) {
        const auto changes = scanner.update();
        ASSERT_TRUE(changes.launched.isEmpty() && changes.terminated.isEmpty());
    }
    EXPECT_EQ(pids(), QList<pid_t>{300});

    // Then Claude is started by hand: found at the next look, by trying the few new ids...
    tree.addProcess(302, 1, 60, work + "/Contents/MacOS/Claude", {"--user-data-dir=/x"});
    tree.setLastCreated(303);
    auto changes = scanner.update();
    ASSERT_EQ(changes.launched.size(), 1);
    EXPECT_EQ(changes.launched.first()->processIdentifier(), 302);
    // ...or, after many, through the listing.
    tree.remove(250);
    tree.addProcess(9000, 1, 70, work + "/Contents/MacOS/Claude");
    tree.setLastCreated(9001);
    changes = scanner.update();
    ASSERT_EQ(changes.launched.size(), 1);
    EXPECT_EQ(changes.launched.first()->processIdentifier(), 9000);
    EXPECT_EQ(pids(), (QList<pid_t>{300, 302, 9000}));

    // Exits come from elsewhere (the exit watch), and only once.
    const AppHandle ended = scanner.application(302);
    EXPECT_EQ(scanner.ended(ended).terminated, QList<AppHandle>{ended});
    EXPECT_TRUE(scanner.ended(ended).terminated.isEmpty());
    EXPECT_EQ(pids(), (QList<pid_t>{300, 9000}));
}

TEST_F(ScannerFixture, UpdateTellsAReusedPidFromTheProcessThatHadIt) {
    tree.setIdLimit(32768);
    tree.addProcess(300, 1, 50, claude + "/Contents/MacOS/Claude");
    tree.addProcess(310, 1, 51, "/usr/bin/bash");
    tree.setLastCreated(32700);
    scanner.scan();
    const AppHandle old = scanner.application(300);
    ASSERT_TRUE(old);

    // The ids wrapped; 300 and 310 now name new processes (the old ones' exits not yet heard of).
    tree.addProcess(300, 1, 90, claude + "/Contents/MacOS/Claude");
    tree.addProcess(310, 1, 91, work + "/Contents/MacOS/Claude");
    tree.setLastCreated(310);
    const auto changes = scanner.update();
    EXPECT_EQ(changes.terminated, QList<AppHandle>{old});
    ASSERT_EQ(changes.launched.size(), 2);
    EXPECT_NE(changes.launched.first(), old);
    EXPECT_EQ(changes.launched.first()->startTime(), 90u);
    EXPECT_EQ(pids(), (QList<pid_t>{300, 310}));
    // The old process's exit, heard of late, changes nothing.
    EXPECT_TRUE(scanner.ended(old).terminated.isEmpty());
    EXPECT_EQ(pids(), (QList<pid_t>{300, 310}));
}

TEST_F(ScannerFixture, UpdateCatchesAProgramRunAfterItsProcessWasFirstSeen) {
    tree.addProcess(10, 1, 5, "/usr/bin/bash");
    tree.setLastCreated(100);
    scanner.scan();
    // Seen between fork and exec (still the shell's name): looked at again for a while, though no
    // id is created.
    tree.addProcess(400, 10, 60, "/usr/bin/bash");
    tree.setLastCreated(400);
    EXPECT_TRUE(scanner.update().launched.isEmpty());
    tree.addProcess(400, 10, 60, work + "/Contents/MacOS/Claude");
    auto changes = scanner.update();
    ASSERT_EQ(changes.launched.size(), 1);
    EXPECT_EQ(changes.launched.first()->processIdentifier(), 400);

    // A wrapper script that runs Claude later: its first child (Electron's helpers) gives it away.
    tree.addProcess(500, 10, 70, "/usr/local/bin/claude-wrapper");
    tree.setLastCreated(500);
    for (int i = 0; i <= varrow::Timings::execLooks; ++i) scanner.update();
    tree.addProcess(500, 10, 70, claude + "/Contents/MacOS/Claude");
    tree.addProcess(601, 500, 81, claude + "/Contents/MacOS/Claude", {"--type=zygote"});
    tree.setLastCreated(601);
    changes = scanner.update();
    ASSERT_EQ(changes.launched.size(), 1);
    EXPECT_EQ(changes.launched.at(0)->processIdentifier(), 500);
    EXPECT_EQ(pids(), (QList<pid_t>{400, 500}));
}

TEST_F(ScannerFixture, UpdateTriesEachNewIdOnceWrappingAtTheLimitAndSkippingThreads) {
    tree.setIdLimit(32768);
    tree.setLastCreated(32760);
    scanner.scan();

    // The ids run up to the limit's last and start again at 300; threads, reachable by their ids
    // and showing their process's program, are no applications of their own.
    tree.addProcess(32767, 1, 50, claude + "/Contents/MacOS/Claude");
    tree.addThread(32766, 32767, 50);
    tree.addProcess(300, 1, 51, work + "/Contents/MacOS/Claude", {"--user-data-dir=/x"});
    tree.addThread(301, 300, 52);
    tree.setLastCreated(301);
    auto changes = scanner.update();
    ASSERT_EQ(changes.launched.size(), 2);
    EXPECT_EQ(pids(), (QList<pid_t>{32767, 300}));

    // Too many new ids to try one by one: the listing finds the new process, not its thread.
    tree.addProcess(20000, 1, 60, work + "/Contents/MacOS/Claude", {"--user-data-dir=/y"});
    tree.addThread(20001, 20000, 61);
    tree.setLastCreated(20001);
    changes = scanner.update();
    ASSERT_EQ(changes.launched.size(), 1);
    EXPECT_EQ(changes.launched.first()->processIdentifier(), 20000);

    // The limit raised meanwhile: ids past the old one, then wrapping at the new one.
    tree.setIdLimit(65536);
    tree.setLastCreated(65530);
    scanner.update();
    tree.addProcess(65535, 1, 70, work + "/Contents/MacOS/Claude", {"--user-data-dir=/z"});
    tree.addProcess(302, 1, 71, claude + "/Contents/MacOS/Claude");
    tree.setLastCreated(302);
    changes = scanner.update();
    ASSERT_EQ(changes.launched.size(), 2);
    EXPECT_EQ(pids(), (QList<pid_t>{32767, 300, 20000, 65535, 302}));
}

TEST_F(ScannerFixture, AProgramStillLoadingIsListedOnlyOnceItsArgumentsCanBeRead) {
    tree.addProcess(1, 0, 1, "/sbin/init");
    tree.setLastCreated(1);
    scanner.scan();
    const auto loading = [this](pid_t pid) {
        QFile::resize(tree.root() + QString("/%1/cmdline").arg(pid), 0);
    };

    // Found by a look (started by hand), and launched by this program: both mid-exec.
    tree.addProcess(400, 1, 60, work + "/Contents/MacOS/Claude");
    loading(400);
    tree.addProcess(401, 1, 61, work + "/Contents/MacOS/Claude");
    loading(401);
    tree.setLastCreated(401);
    const AppHandle launched = scanner.adopt(401, work);
    ASSERT_TRUE(launched);
    EXPECT_TRUE(scanner.update().launched.isEmpty());
    EXPECT_TRUE(pids().isEmpty());

    tree.addProcess(400, 1, 60, work + "/Contents/MacOS/Claude", {"--user-data-dir=/x"});
    tree.addProcess(401, 1, 61, work + "/Contents/MacOS/Claude");
    const auto changes = scanner.update();
    ASSERT_EQ(changes.launched.size(), 2);
    EXPECT_EQ(changes.launched.at(1), launched);
    EXPECT_EQ(pids(), (QList<pid_t>{400, 401}));
}
