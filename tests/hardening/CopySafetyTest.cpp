// Copy metadata and update-policy files under kills, full disks and unwritable folders.
#include "KillLoop.h"
#include "copies/AppCloner.h"
#include "platform/fake/FakePlatform.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <csignal>

using namespace varrow;
using copies::AppCloner;
using test::contentOf;
using test::KillLoop;
using test::TempHome;

namespace {

// Every write past `bytes` fails with EFBIG, as on a full disk; child processes inherit it.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = old_;
        small.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &small);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }

private:
    rlimit old_{};
    void (*oldHandler_)(int) = nullptr;
};

// A folder nobody may write to: permissions for ordinary users, a read-only mount for root.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(const QString& path) : path_(path.toUtf8()) {
        QDir().mkpath(path);
        if (geteuid() != 0) {
            ok_ = chmod(path_.constData(), 0555) == 0;
        } else {
            ok_ = mount("varrow-ro", path_.constData(), "tmpfs", MS_RDONLY, "size=64k") == 0;
            mounted_ = ok_;
        }
    }
    ~ReadOnlyFolder() {
        if (mounted_)
            umount(path_.constData());
        else
            chmod(path_.constData(), 0755);
    }
    bool ok() const { return ok_; }

private:
    QByteArray path_;
    bool ok_ = false;
    bool mounted_ = false;
};

QString makeBundle(const QString& path, qsizetype payloadBytes) {
    test::writeFile(
        path + "/Contents/Info.plist",
        "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>CFBundleShortVersionString</key>"
        "<string>1.0</string></dict></plist>");
    test::writeFile(path + "/Contents/MacOS/Claude", QByteArray(payloadBytes, 'x'));
    return path;
}

}  // namespace

TEST(CrashSafety, CopyMetadataIsAlwaysTheOldOrTheNewRecord) {
    TempHome home;
    const QString copy = home.file("Apps/Claude Work.app");
    QDir().mkpath(home.file("Apps"));
    const AppCloner::Meta a{"/opt/Claude.app", "1.0", "v2|teal|W"};
    const AppCloner::Meta b{"/opt/elsewhere/" + QString(3000, u'p') + "/Claude.app", "2.0", "v2|plum|WK"};
    AppCloner::writeMeta(a, copy);
    ASSERT_EQ(AppCloner::readMeta(copy), a);

    int sawA = 0, sawB = 0;
    KillLoop loop;
    loop.maxDelayUs = KillLoop::spanOf([&] { AppCloner::writeMeta(a, copy); });
    const int caught = loop.run(
        [&](int, const std::function<void()>& ready) {
            ready();
            for (bool flip = false;; flip = !flip) AppCloner::writeMeta(flip ? a : b, copy);
        },
        [&](int round) {
            const auto meta = AppCloner::readMeta(copy);
            ASSERT_TRUE(meta) << "round " << round << ": the metadata is gone or cut short";
            if (*meta == a)
                ++sawA;
            else if (*meta == b)
                ++sawB;
            else
                FAIL() << "round " << round << ": a record that was never written";
        });
    EXPECT_GE(caught, loop.rounds * 9 / 10);
    EXPECT_GT(sawA, 0);
    EXPECT_GT(sawB, 0);
}

// The update policy as it should be for the id its policy file carries, every file checked.
static void expectCompletePolicy(const QString& dataDir, const std::string& context) {
    const QString policy = AppCloner::updatePolicyDir(dataDir);
    const QStringList ids = QDir(policy + "/configLibrary").entryList({"*-*-*-*-*.json"}, QDir::Files);
    ASSERT_EQ(ids.size(), 1) << context;
    const QByteArray id = ids.first().chopped(5).toLatin1();
    EXPECT_EQ(contentOf(policy + "/configLibrary/" + ids.first()), "{\n  \"disableAutoUpdates\": true\n}\n")
        << context;
    EXPECT_EQ(contentOf(policy + "/configLibrary/_meta.json"),
              "{\"appliedId\":\"" + id + "\",\"entries\":[{\"id\":\"" + id + "\",\"name\":\"Default\"}]}\n")
        << context;
    EXPECT_EQ(
        contentOf(policy + "/.varrow"),
        "{\"writtenBy\":\"Varrow\",\"why\":\"stops this account's copy of Claude updating itself; Varrow "
        "refreshes it instead\"}\n")
        << context;
}

// A writer killed inside a write, at every byte of every policy file in turn: the file size limit
// ends the child with SIGXFSZ as its write crosses the limit, so the kill lands deterministically.
// What it leaves is never wrong (each file a prefix of its own content), and the next launch
// completes the set under the same policy id.
TEST(CrashSafety, UpdatePolicyCutShortAnywhereIsCompletedNextTime) {
    TempHome home;
    int killedInside = 0;
    for (int limit = 0; limit <= 130; ++limit) {
        const QString data = home.file(QStringLiteral("Accounts/a%1/Desktop").arg(limit));
        const pid_t child = fork();
        if (child == 0) {
            std::signal(SIGXFSZ, SIG_DFL);
            rlimit small{rlim_t(limit), rlim_t(limit)};
            setrlimit(RLIMIT_FSIZE, &small);
            AppCloner::blockSelfUpdates(data);
            _exit(0);
        }
        int status = 0;
        waitpid(child, &status, 0);
        const std::string context = "limit " + std::to_string(limit);
        if (WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) ++killedInside;

        const QString policy = AppCloner::updatePolicyDir(data);
        const QStringList ids = QDir(policy + "/configLibrary").entryList({"*-*-*-*-*.json"}, QDir::Files);
        ASSERT_EQ(ids.size(), 1) << context;
        const QByteArray id = ids.first().chopped(5).toLatin1();
        const QList<std::pair<QString, QByteArray>> expected{
            {policy + "/configLibrary/" + ids.first(), "{\n  \"disableAutoUpdates\": true\n}\n"},
            {policy + "/configLibrary/_meta.json",
             "{\"appliedId\":\"" + id + "\",\"entries\":[{\"id\":\"" + id + "\",\"name\":\"Default\"}]}\n"},
        };
        for (const auto& [path, bytes] : expected) {
            const auto content = contentOf(path);
            if (content) {
                EXPECT_TRUE(bytes.startsWith(*content)) << context << ": " << path.toStdString();
            }
        }
        AppCloner::blockSelfUpdates(data);
        expectCompletePolicy(data, context);
        EXPECT_TRUE(QFileInfo::exists(expected.first().first)) << context << ": the policy id changed";
    }
    // Every limit below the longest file's size ends the writer inside a write.
    EXPECT_GE(killedInside, 100);
}

TEST(FullDisk, CopyMetadataKeepsTheOldRecord) {
    TempHome home;
    const QString copy = home.file("Apps/Claude Work.app");
    QDir().mkpath(home.file("Apps"));
    const AppCloner::Meta old{"/opt/Claude.app", "1.0", ""};
    AppCloner::writeMeta(old, copy);
    {
        FileSizeLimit limit(64);
        AppCloner::writeMeta({"/opt/Claude.app", "2.0", "v2|" + QString(200, u's')}, copy);
    }
    EXPECT_EQ(AppCloner::readMeta(copy), old);
    EXPECT_EQ(QDir(home.file("Apps")).entryList(QDir::Files | QDir::Hidden).size(), 1) << "no temporary left";
}

TEST(FullDisk, UpdatePolicyShortWriteIsLoggedAndRepairedNextTime) {
    TempHome home;
    const QString data = home.file("Accounts/work-1a2b/Desktop");
    test::LogCapture log;
    {
        FileSizeLimit limit(40);  // the policy file fits, "_meta.json" does not
        AppCloner::blockSelfUpdates(data);
    }
    ASSERT_EQ(log.lines.size(), 1);
    EXPECT_TRUE(log.lines.first().startsWith("Varrow: could not write update policy: "));
    EXPECT_FALSE(QFileInfo::exists(AppCloner::updatePolicyDir(data) + "/.varrow"));
    AppCloner::blockSelfUpdates(data);
    expectCompletePolicy(data, "after the disk had room again");
}

TEST(FullDisk, CopyThatRunsOutOfSpaceFailsWithTheCopyMessage) {
    TempHome home;
    platform::fake::FakePlatform platform;
    const QString source = makeBundle(home.file("Applications/Claude.app"), 512 * 1024);
    const QString copy = home.file("Apps/Claude Work.app");
    QString error;
    {
        FileSizeLimit limit(64 * 1024);
        error = AppCloner::makeCopy(platform.installations, source, copy, home.file("Apps"));
    }
    EXPECT_TRUE(error.startsWith("Couldn't prepare this account's copy of Claude (/bin/cp: "))
        << error.toStdString();
    // With space back, the next attempt replaces whatever was left half-copied.
    EXPECT_EQ(AppCloner::makeCopy(platform.installations, source, copy, home.file("Apps")), "");
    EXPECT_EQ(QFileInfo(copy + "/Contents/MacOS/Claude").size(), 512 * 1024);
}

TEST(Unwritable, CopiesFolderGivesTheFileSystemsReason) {
    TempHome home;
    platform::fake::FakePlatform platform;
    const QString source = makeBundle(home.file("Applications/Claude.app"), 16);
    const ReadOnlyFolder apps(home.file("Apps"));
    if (!apps.ok()) GTEST_SKIP() << "cannot make a read-only folder here";
    const QString error = AppCloner::makeCopy(platform.installations, source,
                                              home.file("Apps/Claude Work.app"), home.file("Apps"));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(home.file("Apps/Claude Work.app")));
    // The metadata write beside it fails silently and reads as none.
    AppCloner::writeMeta({"/opt/Claude.app", "1.0", ""}, home.file("Apps/Claude Work.app"));
    EXPECT_FALSE(AppCloner::readMeta(home.file("Apps/Claude Work.app")));
}

TEST(Unwritable, AccountsFolderLogsThePolicyFailure) {
    TempHome home;
    const ReadOnlyFolder accounts(home.file("Accounts"));
    if (!accounts.ok()) GTEST_SKIP() << "cannot make a read-only folder here";
    test::LogCapture log;
    AppCloner::blockSelfUpdates(home.file("Accounts/work-1a2b/Desktop"));
    ASSERT_EQ(log.lines.size(), 1);
    EXPECT_TRUE(log.lines.first().startsWith("Varrow: could not write update policy: "));
}

TEST(BadNames, CopyNamesAreOneSafeComponent) {
    for (const QString& name : {QString("a/b:c"), QString(".."), QString("-rf"), QString("Work\nHome"),
                                QString("nul") + QChar(0) + "/../../x", QString(QChar(0xD800))}) {
        model::Profile p;
        p.name = name;
        const QString file = AppCloner::copyName(p);
        EXPECT_TRUE(file.startsWith("Claude ") && file.endsWith(".app"));
        EXPECT_FALSE(file.contains(u'/'));
        // The system cuts a path at a NUL: the name must not hold one.
        EXPECT_FALSE(file.contains(QChar(0))) << "name with a NUL";
        EXPECT_EQ(QFileInfo(AppCloner::copyPath(p, "/home/ann/Apps")).path(), "/home/ann/Apps");
    }
}
