// Copy metadata and update-policy files under kills, full disks and unwritable folders.
#include "KillLoop.h"
#include "copies/AppCloner.h"
#include "platform/fake/FakePlatform.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
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

// The policy files are plain writes, made once: a kill can leave the set incomplete, and a later
// call does not complete it. What holds is that no file ever has content other than its own:
// each is complete, or the one being written when the kill came is empty, and later ones absent.
TEST(CrashSafety, UpdatePolicyIsCutShortButNeverWrong) {
    TempHome home;
    int cutShort = 0;
    KillLoop loop;
    loop.rounds = 200;
    const auto dataDir = [&](int round) {
        return home.file(QStringLiteral("Accounts/a%1/Desktop").arg(round));
    };
    int timed = 0;
    loop.maxDelayUs =
        KillLoop::spanOf([&] { AppCloner::blockSelfUpdates(home.file(QString("t%1/D").arg(timed++))); }, 2);
    loop.run(
        [&](int round, const std::function<void()>& ready) {
            ready();
            AppCloner::blockSelfUpdates(dataDir(round));
        },
        [&](int round) {
            const QString policy = AppCloner::updatePolicyDir(dataDir(round));
            const QStringList ids =
                QDir(policy + "/configLibrary").entryList({"*-*-*-*-*.json"}, QDir::Files);
            ASSERT_LE(ids.size(), 1);
            const QString id = ids.isEmpty() ? QString() : ids.first().chopped(5);
            const QList<std::pair<QString, QByteArray>> expected{
                {policy + "/configLibrary/" + id + ".json", "{\n  \"disableAutoUpdates\": true\n}\n"},
                {policy + "/configLibrary/_meta.json", "{\"appliedId\":\"" + id.toLatin1() +
                                                           "\",\"entries\":[{\"id\":\"" + id.toLatin1() +
                                                           "\",\"name\":\"Default\"}]}\n"},
                {policy + "/.varrow",
                 "{\"writtenBy\":\"Varrow\",\"why\":\"stops this account's copy of Claude updating itself; "
                 "Varrow refreshes it instead\"}\n"},
            };
            bool ended = ids.isEmpty();
            for (const auto& [path, bytes] : expected) {
                const auto content = contentOf(path);
                if (ended) {
                    EXPECT_FALSE(content)
                        << "round " << round << ": " << path.toStdString() << " after a gap";
                    continue;
                }
                if (!content || content->isEmpty()) {
                    ended = true;
                    ++cutShort;
                    continue;
                }
                EXPECT_EQ(*content, bytes) << "round " << round;
            }
            // Made once: once the folder exists a later call leaves the set as it is.
            if (!QFileInfo::exists(policy)) return;
            const auto before = contentOf(policy + "/.varrow");
            AppCloner::blockSelfUpdates(dataDir(round));
            EXPECT_TRUE(contentOf(policy + "/.varrow") == before) << "round " << round;
        });
    EXPECT_GT(cutShort, 0) << "no kill landed during a write; the test proved nothing";
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

TEST(FullDisk, CopyThatRunsOutOfSpaceFailsWithTheCopyMessage) {
    TempHome home;
    platform::fake::FakePlatform platform;
    const QString source = makeBundle(home.file("Applications/Claude.app"), 512 * 1024);
    const QString copy = home.file("Apps/Claude Work.app");
    QString error;
    {
        FileSizeLimit limit(64 * 1024);
        error = AppCloner::makeCopy(source, copy, home.file("Apps"));
    }
    EXPECT_EQ(error, "Couldn't prepare this account's copy of Claude (copy failed).");
    // With space back, the next attempt replaces whatever was left half-copied.
    EXPECT_EQ(AppCloner::makeCopy(source, copy, home.file("Apps")), "");
    EXPECT_EQ(QFileInfo(copy + "/Contents/MacOS/Claude").size(), 512 * 1024);
}

TEST(Unwritable, CopiesFolderGivesTheFileSystemsReason) {
    TempHome home;
    platform::fake::FakePlatform platform;
    const QString source = makeBundle(home.file("Applications/Claude.app"), 16);
    const ReadOnlyFolder apps(home.file("Apps"));
    if (!apps.ok()) GTEST_SKIP() << "cannot make a read-only folder here";
    const QString error = AppCloner::makeCopy(source, home.file("Apps/Claude Work.app"), home.file("Apps"));
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
