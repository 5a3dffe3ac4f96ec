#include "platform/linux/LinuxDesktopFiles.h"
#include "platform/linux/LinuxProcesses.h"
#include "support/ProcTree.h"
#include "support/TestSupport.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QProcess>
#include <algorithm>
#include <cerrno>

using varrow::platform::AppHandle;
using varrow::platform::LaunchOptions;
using varrow::platform::linux_::LinuxDesktopFiles;
using varrow::platform::linux_::LinuxProcesses;
using varrow::platform::linux_::ProcessesOptions;
using varrow::test::ProcTree;
using varrow::test::readFile;
using varrow::test::TempHome;
using varrow::test::waitUntil;
using varrow::test::writeFile;

namespace {

// Logs its start, its environment mark, reopen requests and the quit request to $TOOL_OUT.
const QByteArray kScript = R"(#!/bin/sh
echo "start $$ $*" >> "$TOOL_OUT"
echo "mark=$TOOL_MARK" >> "$TOOL_OUT"
trap 'echo reopen >> "$TOOL_OUT"' USR1
trap 'echo quit >> "$TOOL_OUT"; exit 0' TERM
while :; do sleep 0.05 & wait $!; done
)";

struct Opened {
    bool done = false;
    AppHandle app;
    QString error;
};

struct ProcessesFixture : ::testing::Test {
    TempHome home;
    QString out = home.file("tool.log");
    QString bundle = ProcTree::makeBundle(home.file("Apps"), "Tool Box", "org.example.tool", "Tool", kScript);
    LinuxProcesses processes{nullptr};
    QList<AppHandle> launched, terminated;
    QList<AppHandle> started;

    void SetUp() override {
        QObject::connect(&processes, &LinuxProcesses::applicationLaunched,
                         [this](const AppHandle& app) { launched.append(app); });
        QObject::connect(&processes, &LinuxProcesses::applicationExited,
                         [this](const AppHandle& app) { terminated.append(app); });
    }
    void TearDown() override {
        for (const AppHandle& app : started) app->forceTerminate();
    }

    Opened open(const QString& path, const LaunchOptions& configuration) {
        auto result = std::make_shared<Opened>();
        processes.launch(path, configuration, [result](const varrow::Result<AppHandle>& opened) {
            EXPECT_FALSE(result->done) << "completion called twice";
            *result =
                opened ? Opened{true, opened.value(), {}} : Opened{true, nullptr, opened.failure().text()};
        });
        EXPECT_FALSE(result->done) << "completion must not run inside launch";
        EXPECT_TRUE(waitUntil([&] { return result->done; }));
        if (result->app) started.append(result->app);
        return *result;
    }
    LaunchOptions configuration(const QStringList& arguments = {}) {
        LaunchOptions c;
        c.arguments = arguments;
        c.environment = {{"PATH", qEnvironmentVariable("PATH")}, {"TOOL_OUT", out}, {"TOOL_MARK", "42"}};
        return c;
    }
    QString log() const { return QString::fromUtf8(readFile(out)); }
};

QStringList statFields(pid_t pid) {
    const QString stat = QString::fromLatin1(readFile(QStringLiteral("/proc/%1/stat").arg(pid)));
    return stat.mid(stat.lastIndexOf(u')') + 2).split(u' ');
}

}  // namespace

TEST_F(ProcessesFixture, LaunchesDetachedAndAnnouncesLaunchAndExit) {
    // A descriptor without close-on-exec must not reach the application.
    const int leak = ::open(home.file("tool.log").toLocal8Bit().constData(), O_WRONLY | O_CREAT, 0600);
    const Opened opened = open(bundle, configuration({"--one", "two words"}));
    ::close(leak);
    ASSERT_TRUE(opened.app) << opened.error.toStdString();
    const AppHandle app = opened.app;
    EXPECT_EQ(app->applicationId(), "org.example.tool");
    EXPECT_EQ(app->installationFolder(), bundle);
    EXPECT_EQ(app->localizedName(), "Tool Box");
    EXPECT_TRUE(launched.contains(app));  // announced before the completion ran
    EXPECT_TRUE(processes.applications().contains(app));
    ASSERT_TRUE(waitUntil([&] { return log().contains("mark=42"); }));
    EXPECT_TRUE(log().contains(QStringLiteral("start %1 --one two words").arg(app->processIdentifier())));

    const auto arguments = processes.processArguments(app->processIdentifier());
    ASSERT_TRUE(arguments);
    EXPECT_EQ(arguments->mid(arguments->size() - 3),
              (QStringList{bundle + "/Contents/MacOS/Tool", "--one", "two words"}));
    EXPECT_EQ(statFields(app->processIdentifier()).value(3),
              QString::number(app->processIdentifier()));  // session
    const QDir fds(QStringLiteral("/proc/%1/fd").arg(app->processIdentifier()));
    for (const QFileInfo& fd : fds.entryInfoList(QDir::Files | QDir::System))
        EXPECT_NE(fd.symLinkTarget(), home.file("tool.log"))
            << "fd " << fd.fileName().toStdString() << " inherited";

    EXPECT_FALSE(app->isTerminated());
    ASSERT_TRUE(app->terminate());
    // The pidfd notices the exit long before the next rescan would.
    ASSERT_TRUE(waitUntil([&] { return terminated.contains(app); }, 2000));
    EXPECT_TRUE(app->isTerminated());
    EXPECT_TRUE(log().contains("quit"));
    EXPECT_FALSE(processes.applications().contains(app));
    // Reaped: no zombie is left behind.
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("/proc/%1").arg(app->processIdentifier())));
    EXPECT_EQ(::waitpid(app->processIdentifier(), nullptr, WNOHANG), -1);
    EXPECT_FALSE(app->terminate());  // gone: nothing is signalled
}

// Arguments once read are kept, but a process that runs another program is read again.
TEST_F(ProcessesFixture, ArgumentsAreReadAgainAfterTheProcessRunsAnotherProgram) {
    QProcess shell;
    shell.start("/bin/sh", {"-c", "read line; exec sleep 30"});
    ASSERT_TRUE(shell.waitForStarted());
    const pid_t pid = pid_t(shell.processId());
    ASSERT_TRUE(waitUntil([&] {
        const auto arguments = processes.processArguments(pid);
        return arguments && arguments->value(1) == "-c";
    }));
    shell.write("go\n");
    EXPECT_TRUE(waitUntil([&] { return processes.processArguments(pid) == QStringList{"sleep", "30"}; }));
    shell.kill();
    shell.waitForFinished();
    EXPECT_FALSE(processes.processArguments(pid));
}

TEST_F(ProcessesFixture, ReopensARunningInstanceUnlessANewOneIsAsked) {
    const Opened first = open(bundle, configuration());
    ASSERT_TRUE(first.app);
    ASSERT_TRUE(waitUntil([&] { return log().contains("mark=42"); }));

    const Opened again = open(bundle, configuration());
    EXPECT_EQ(again.app, first.app);
    EXPECT_TRUE(waitUntil([&] { return log().contains("reopen"); }));

    LaunchOptions fresh = configuration();
    fresh.newInstance = true;
    const Opened second = open(bundle, fresh);
    ASSERT_TRUE(second.app);
    EXPECT_NE(second.app, first.app);
    EXPECT_EQ(processes.applications().count(first.app) + processes.applications().count(second.app), 2);

    ASSERT_TRUE(second.app->forceTerminate());
    ASSERT_TRUE(waitUntil([&] { return terminated.contains(second.app); }, 2000));
    EXPECT_FALSE(terminated.contains(first.app));
}

TEST_F(ProcessesFixture, InheritsTheEnvironmentWhenNoneIsGiven) {
    qputenv("TOOL_OUT", out.toLocal8Bit());
    qputenv("TOOL_MARK", "inherited");
    const Opened opened = open(bundle, LaunchOptions{});
    qunsetenv("TOOL_OUT");
    qunsetenv("TOOL_MARK");
    ASSERT_TRUE(opened.app);
    EXPECT_TRUE(waitUntil([&] { return log().contains("mark=inherited"); }));
}

TEST_F(ProcessesFixture, NoticesApplicationsStartedElsewhere) {
    QProcess::startDetached(bundle + "/Contents/MacOS/Tool", {}, QString(), nullptr);
    ASSERT_TRUE(waitUntil([&] { return !launched.isEmpty(); }, 3000));
    const AppHandle app = launched.first();
    EXPECT_EQ(app->installationFolder(), bundle);
    started.append(app);
    ASSERT_TRUE(app->forceTerminate());
    EXPECT_TRUE(waitUntil([&] { return terminated.contains(app); }, 3000));
}

TEST_F(ProcessesFixture, ReportsWhyABundleCannotBeOpened) {
    const QString noPlist = home.file("Apps/Bare.app");
    QDir().mkpath(noPlist + "/Contents/MacOS");
    EXPECT_TRUE(open(noPlist, configuration()).error.contains("holds no application"));

    const QString missing = ProcTree::makeBundle(home.file("Apps"), "Gone", "org.example.gone", "Gone");
    QFile::remove(missing + "/Contents/MacOS/Gone");
    const Opened gone = open(missing, configuration());
    EXPECT_FALSE(gone.app);
    EXPECT_TRUE(gone.error.contains("executable is missing")) << gone.error.toStdString();

    const QString plain = ProcTree::makeBundle(home.file("Apps"), "Plain", "org.example.plain", "Plain");
    QFile::setPermissions(plain + "/Contents/MacOS/Plain", QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_TRUE(open(plain, configuration()).error.contains("not executable"));

    // The interpreter named by "#!" does not exist: the system's reason is passed on.
    const QString broken = ProcTree::makeBundle(home.file("Apps"), "Broken", "org.example.broken", "Broken",
                                                "#!/nonexistent/sh\n");
    const Opened failed = open(broken, configuration());
    EXPECT_FALSE(failed.app);
    EXPECT_TRUE(failed.error.contains("could not be launched")) << failed.error.toStdString();
    EXPECT_TRUE(failed.error.contains("No such file or directory")) << failed.error.toStdString();
    EXPECT_TRUE(launched.isEmpty());
}

TEST_F(ProcessesFixture, CustomIconsBundleIconsAndTheGenericIcon) {
    LinuxDesktopFiles files(nullptr, QString());
    // Generic icon at the requested size when the bundle has none.
    const QImage generic = files.icon(bundle, 64);
    EXPECT_EQ(generic.size(), QSize(64, 64));

    // The bundle's own icon (CFBundleIconFile without extension finds the PNG).
    writeFile(bundle + "/Contents/Info.plist", ProcTree::infoPlist("org.example.tool", "Tool", "AppIcon"));
    QImage own(32, 16, QImage::Format_ARGB32);
    own.fill(Qt::red);
    QDir().mkpath(bundle + "/Contents/Resources");
    ASSERT_TRUE(own.save(bundle + "/Contents/Resources/AppIcon.png"));
    const QImage fromBundle = files.icon(bundle, 64);
    EXPECT_EQ(fromBundle.size(), QSize(64, 64));
    EXPECT_EQ(fromBundle.pixelColor(32, 32), QColor(Qt::red));
    EXPECT_EQ(fromBundle.pixelColor(32, 2).alpha(), 0);  // kept its shape, centred

    // A custom icon wins, and lands beside the bundle, not inside it.
    QImage custom(128, 128, QImage::Format_ARGB32);
    custom.fill(Qt::blue);
    QByteArray png;
    QBuffer buffer(&png);
    ASSERT_TRUE(buffer.open(QIODevice::WriteOnly) && custom.save(&buffer, "PNG"));
    ASSERT_TRUE(files.setIcon(png, bundle + "/"));
    EXPECT_TRUE(QFileInfo::exists(home.file("Apps/.Tool Box.app.icon.png")));
    EXPECT_EQ(files.icon(bundle, 16).pixelColor(8, 8), QColor(Qt::blue));
    EXPECT_FALSE(files.setIcon(png, home.file("Apps/Missing.app")));
    EXPECT_FALSE(files.setIcon("not a picture", bundle));
}

TEST(LinuxWorkspaceExits, AnApplicationStartedElsewhereIsFollowedToItsExitWithoutAnyScan) {
    TempHome home;
    const QString bundle =
        ProcTree::makeBundle(home.file("Apps"), "Tool", "org.example.tool", "Tool", kScript);
    ProcessesOptions options;
    options.watch = false;  // no timer: nothing looks at /proc unless asked
    options.polling = false;
    LinuxProcesses processes(nullptr, options);
    ASSERT_FALSE(processes.isPolling()) << "this system has no pidfds";
    QList<AppHandle> launched, terminated;
    QObject::connect(&processes, &LinuxProcesses::applicationLaunched,
                     [&launched](const AppHandle& app) { launched.append(app); });
    QObject::connect(&processes, &LinuxProcesses::applicationExited,
                     [&terminated](const AppHandle& app) { terminated.append(app); });

    qint64 pid = 0;
    ASSERT_TRUE(QProcess::startDetached(bundle + "/Contents/MacOS/Tool", {}, QString(), &pid));
    ASSERT_TRUE(waitUntil([&] {
        processes.rescan();
        return !launched.isEmpty();
    }));
    const AppHandle app = launched.first();
    EXPECT_EQ(app->processIdentifier(), pid);

    // From here on only the exit watch can tell.
    ASSERT_TRUE(app->forceTerminate());
    ASSERT_TRUE(waitUntil([&] { return terminated.contains(app); }, 5000));
    EXPECT_EQ(terminated.size(), 1);
    EXPECT_FALSE(processes.applications().contains(app));
}

// At rest nothing is looked for on a timer: a start of a watched application (exec opens its
// executable) is what makes the process service look, and it finds the new process at once.
TEST(LinuxWorkspaceLaunches, AWatchedApplicationsStartIsNoticedWithNoTimerAtRest) {
    TempHome home;
    ProcTree tree(home.file("proc"));
    tree.addProcess(1, 0, 1, "/sbin/init");
    tree.setLastCreated(1);
    const QString bundle = ProcTree::makeBundle(home.file("Apps"), "Tool", "org.example.tool", "Tool");
    ProcessesOptions options;
    options.procRoot = tree.root();
    options.polling = false;
    LinuxProcesses processes(nullptr, options);
    ASSERT_FALSE(processes.isPolling()) << "this system has no pidfds";
    EXPECT_TRUE(processes.isChecking());  // nothing to watch: the timed look stays
    processes.watchForLaunches({bundle, home.file("Apps/Missing.app")});
    EXPECT_FALSE(processes.isChecking());

    QList<AppHandle> launched;
    QObject::connect(&processes, &LinuxProcesses::applicationLaunched,
                     [&launched](const AppHandle& app) { launched.append(app); });
    tree.addProcess(4000, 1, 90, bundle + "/Contents/MacOS/Tool", {"--one"});
    tree.setLastCreated(4000);
    QFile executable(bundle + "/Contents/MacOS/Tool");
    ASSERT_TRUE(executable.open(QIODevice::ReadOnly));  // as exec does
    ASSERT_TRUE(waitUntil([&] { return !launched.isEmpty(); }));
    EXPECT_EQ(launched.first()->processIdentifier(), 4000);
    EXPECT_EQ(launched.first()->installationFolder(), bundle);

    // A package upgrade renames a new file over the executable: its starts are still seen.
    const QString path = executable.fileName();
    executable.close();
    writeFile(path + ".new", "#!/bin/sh\n");
    ASSERT_TRUE(QFile::remove(path) && QFile::rename(path + ".new", path));
    tree.addProcess(4001, 1, 91, path, {"--two"});
    tree.setLastCreated(4001);
    // Started again at each look, since the folder's event re-arms the watch in its own time.
    EXPECT_TRUE(waitUntil([&] {
        QFile(path).open(QIODevice::ReadOnly);
        return std::any_of(launched.cbegin(), launched.cend(),
                           [](const AppHandle& app) { return app->processIdentifier() == 4001; });
    }));
}
