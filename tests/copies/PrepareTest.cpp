#include "copies/AccountIcon.h"
#include "copies/AppCloner.h"
#include "copies/TestIcons.h"
#include "platform/ApplicationCopy.h"
#include "platform/fake/FakePlatform.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <csignal>

using namespace varrow;
using copies::AppCloner;
using test::copiesAccount;

namespace {

// A temporary home holding its own copy of the stand-in Claude, which tests may edit.
class Prepare : public ::testing::Test {
protected:
    void SetUp() override {
        const QString standin = test::standinBundle();
        if (!QFileInfo(standin + "/Contents/Info.plist").exists()) GTEST_SKIP() << "no stand-in bundle";
        source = home.file("Applications/Claude.app");
        QDir().mkpath(home.file("Applications"));
        ASSERT_TRUE(platform::ApplicationCopy::run("/bin/cp", {"-R", "--", standin, source}).ok());
        platform.desktopFiles.systemIcon = QImage(source + "/Contents/Resources/Claude.png");
    }

    void start(const model::Profile& profile, bool running, std::optional<AppCloner::Prepared>& result) {
        AppCloner::prepare(platform.desktopFiles, platform.installations, profile, source, running, apps(),
                           accounts(), [&result](AppCloner::Prepared p) { result = p; });
    }

    AppCloner::Prepared prepare(const model::Profile& profile, bool running = false) {
        std::optional<AppCloner::Prepared> result;
        start(profile, running, result);
        EXPECT_FALSE(result) << "the callback must come after prepare returns";
        EXPECT_TRUE(test::waitUntil([&] { return result.has_value(); }, 30000));
        return result.value_or(AppCloner::Prepared{{}, "timed out"});
    }

    void setVersion(const QString& from, const QString& to) {
        const QString plist = source + "/Contents/Info.plist";
        QByteArray bytes = test::readFile(plist);
        bytes.replace("<string>" + from.toUtf8() + "</string>", "<string>" + to.toUtf8() + "</string>");
        test::writeFile(plist, bytes);
    }

    QString apps() const { return home.file("Varrow/Apps"); }
    QString accounts() const { return home.file("Varrow/Accounts"); }
    QString copyOf(const QString& name) const { return AppCloner::copyPath(copiesAccount(name), apps()); }

    test::TempHome home;
    platform::fake::FakePlatform platform;
    QString source;
};

}  // namespace

TEST_F(Prepare, DefaultAccountIsTheInstalledClaudeAndTouchesNothing) {
    model::Profile mine = copiesAccount("My Claude");
    mine.isDefault = true;
    const auto result = prepare(mine);
    EXPECT_TRUE(result.ok());
    EXPECT_EQ(result.appPath, source);
    EXPECT_FALSE(QFileInfo::exists(apps()));
    EXPECT_FALSE(QFileInfo::exists(accounts()));
}

TEST_F(Prepare, FirstCopyIsWholeWithIconMetadataAndPolicy) {
    const auto work = copiesAccount("Work");
    const auto result = prepare(work);
    ASSERT_TRUE(result.ok()) << result.error.toStdString();
    const QString copy = copyOf("Work");
    EXPECT_EQ(result.appPath, copy);
    EXPECT_EQ(test::readFile(copy + "/Contents/Info.plist"), test::readFile(source + "/Contents/Info.plist"));
    EXPECT_EQ(test::readFile(copy + "/Contents/MacOS/Claude"),
              test::readFile(source + "/Contents/MacOS/Claude"));
    EXPECT_TRUE(QFileInfo(copy + "/Contents/MacOS/Claude").isExecutable());
    EXPECT_TRUE(QFileInfo(apps() + "/.metadata_never_index").isFile());
    EXPECT_EQ(AppCloner::readMeta(copy), (AppCloner::Meta{source, "1.0.0", "v2|teal|W"}));
    ASSERT_TRUE(platform.desktopFiles.customIcons.contains(copy));
    EXPECT_EQ(platform.desktopFiles.customIcons.value(copy).size(), QSize(1024, 1024));
    EXPECT_TRUE(QDir(accounts() + "/Work/Desktop-3p/configLibrary").exists());
}

TEST_F(Prepare, CurrentCopyIsLeftAloneAndStaleCopyReplaced) {
    const auto work = copiesAccount("Work");
    ASSERT_TRUE(prepare(work).ok());
    const QString copy = copyOf("Work");
    test::writeFile(copy + "/marker", "kept while current");
    platform.desktopFiles.customIcons.clear();

    ASSERT_TRUE(prepare(work).ok());
    EXPECT_TRUE(QFile::exists(copy + "/marker"));
    EXPECT_TRUE(platform.desktopFiles.customIcons.isEmpty()) << "same signature, no new icon";

    // Updated while running: nothing copied, the old version stays recorded.
    setVersion("1.0.0", "1.1.0");
    ASSERT_TRUE(prepare(work, true).ok());
    EXPECT_TRUE(QFile::exists(copy + "/marker"));
    EXPECT_EQ(AppCloner::readMeta(copy)->sourceVersion, "1.0.0");

    // After it quit, the next prepare replaces it and records the new version.
    ASSERT_TRUE(prepare(work).ok());
    EXPECT_FALSE(QFile::exists(copy + "/marker"));
    EXPECT_EQ(AppCloner::readMeta(copy), (AppCloner::Meta{source, "1.1.0", "v2|teal|W"}));
    EXPECT_TRUE(platform.desktopFiles.customIcons.contains(copy)) << "a fresh copy gets its icon again";
}

TEST_F(Prepare, MovedClaudeOrMissingVersionOrMetadata) {
    const auto work = copiesAccount("Work");
    ASSERT_TRUE(prepare(work).ok());
    const QString copy = copyOf("Work");

    // Without a version the copy is current while the path holds and the version stays "?".
    setVersion("1.0.0", "");
    QByteArray plist = test::readFile(source + "/Contents/Info.plist");
    plist.replace("<key>CFBundleShortVersionString</key>", "<key>Unrelated</key>");
    test::writeFile(source + "/Contents/Info.plist", plist);
    ASSERT_TRUE(prepare(work).ok());
    EXPECT_EQ(AppCloner::readMeta(copy)->sourceVersion, "?");
    test::writeFile(copy + "/marker", "");
    ASSERT_TRUE(prepare(work).ok());
    EXPECT_TRUE(QFile::exists(copy + "/marker"));

    // An undecodable record means not current.
    test::writeFile(AppCloner::metaPath(copy), "{broken");
    ASSERT_TRUE(prepare(work).ok());
    EXPECT_FALSE(QFile::exists(copy + "/marker"));

    // Claude moved: a fresh copy from the new place.
    const QString moved = home.file("Elsewhere/Claude.app");
    QDir().mkpath(home.file("Elsewhere"));
    ASSERT_TRUE(QDir().rename(source, moved));
    source = moved;
    test::writeFile(copy + "/marker", "");
    ASSERT_TRUE(prepare(work).ok());
    EXPECT_FALSE(QFile::exists(copy + "/marker"));
    EXPECT_EQ(AppCloner::readMeta(copy)->sourcePath, moved);
}

TEST_F(Prepare, FailedCopyReportsAndLeavesNoCurrentLookingRecord) {
    const auto work = copiesAccount("Work");
    ASSERT_TRUE(prepare(work).ok());
    const QString copy = copyOf("Work");
    const QString original = source;
    source = home.file("Gone/Claude.app");  // cannot be copied
    const auto failed = prepare(work);
    EXPECT_FALSE(failed.ok());
    EXPECT_TRUE(failed.appPath.isEmpty());
    // cp's own words reach the message.
    EXPECT_TRUE(failed.error.startsWith("Couldn't prepare this account's copy of Claude (/bin/cp: "))
        << failed.error.toStdString();
    EXPECT_FALSE(AppCloner::readMeta(copy));

    // Claude is back where the old record pointed: the failed remains must not count as current.
    source = original;
    ASSERT_TRUE(prepare(work).ok());
    EXPECT_TRUE(QFileInfo(copy + "/Contents/MacOS/Claude").isExecutable());
}

TEST_F(Prepare, AwkwardNamesStayInsideTheAppsFolder) {
    for (const QString name : {".", "..", "-rf", "--help"}) {
        model::Profile p = copiesAccount(name);
        p.folderName = "folder" + QString::number(qHash(name));
        const auto result = prepare(p);
        ASSERT_TRUE(result.ok()) << name.toStdString() << ": " << result.error.toStdString();
        EXPECT_EQ(QFileInfo(result.appPath).absolutePath(), QFileInfo(apps()).absoluteFilePath());
        EXPECT_TRUE(QFileInfo(result.appPath + "/Contents/Info.plist").isFile()) << name.toStdString();
    }
    EXPECT_EQ(QDir(home.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              (QStringList{"Applications", "Varrow"}));
}

TEST_F(Prepare, SecondPrepareForOneCopyWaitsForTheFirst) {
    const auto work = copiesAccount("Work");
    std::optional<AppCloner::Prepared> first, second;
    QList<int> order;
    AppCloner::prepare(platform.desktopFiles, platform.installations, work, source, false, apps(), accounts(),
                       [&](AppCloner::Prepared p) {
                           first = p;
                           order << 1;
                       });
    ASSERT_TRUE(AppCloner::isCopying(copyOf("Work")));
    AppCloner::prepare(platform.desktopFiles, platform.installations, work, source, false, apps(), accounts(),
                       [&](AppCloner::Prepared p) {
                           second = p;
                           order << 2;
                       });
    ASSERT_TRUE(test::waitUntil([&] { return first && second; }, 30000));
    EXPECT_TRUE(first->ok());
    EXPECT_TRUE(second->ok());
    EXPECT_EQ(second->appPath, first->appPath);
    EXPECT_EQ(order, (QList<int>{1, 2}));
    EXPECT_FALSE(AppCloner::isCopying(copyOf("Work")));
    EXPECT_EQ(AppCloner::readMeta(copyOf("Work"))->sourceVersion, "1.0.0");
}

TEST_F(Prepare, ReplacingALinkedCopyNeverTouchesItsTarget) {
    const QString outside = home.file("Precious");
    test::writeFile(outside + "/keep.txt", "mine");
    test::writeFile(home.file("marker-target"), "not empty");
    QDir().mkpath(apps());
    ASSERT_TRUE(QFile::link(outside, copyOf("Work")));
    ASSERT_TRUE(QFile::link(home.file("marker-target"), apps() + "/.metadata_never_index"));
    ASSERT_TRUE(prepare(copiesAccount("Work")).ok());
    EXPECT_EQ(test::readFile(outside + "/keep.txt"), "mine");
    EXPECT_EQ(test::readFile(home.file("marker-target")), "not empty");
    EXPECT_FALSE(QFileInfo(copyOf("Work")).isSymLink());
    EXPECT_TRUE(QFileInfo(copyOf("Work") + "/Contents/Info.plist").isFile());
}

TEST_F(Prepare, RemoveUnusedKeepsNamedAndRunningCopiesOnly) {
    for (const QString name : {"Keep", "Live", "Old"}) ASSERT_TRUE(prepare(copiesAccount(name)).ok());
    test::writeFile(AppCloner::customIconPath(copyOf("Old")), "png");
    test::writeFile(apps() + "/notes.txt", "mine");
    test::writeFile(apps() + "/.Claude Orphan.app.json", "{}");
    const QString outside = home.file("Outside.app");
    test::writeFile(outside + "/Contents/file", "outside");
    ASSERT_TRUE(QFile::link(outside, apps() + "/Linked.app"));
    // The running set names the live copy through a link, as a process may report it.
    ASSERT_TRUE(QFile::link(copyOf("Live"), home.file("live-link.app")));

    AppCloner::removeUnused(platform.installations, {apps() + "/./Claude Keep.app"},
                            {home.file("live-link.app")}, apps());
    EXPECT_TRUE(QFileInfo::exists(copyOf("Keep")));
    EXPECT_TRUE(QFileInfo::exists(copyOf("Live")));
    EXPECT_FALSE(QFileInfo::exists(copyOf("Old")));
    EXPECT_FALSE(QFileInfo::exists(AppCloner::metaPath(copyOf("Old"))));
    EXPECT_FALSE(QFileInfo::exists(AppCloner::customIconPath(copyOf("Old"))));
    EXPECT_TRUE(QFileInfo::exists(AppCloner::metaPath(copyOf("Keep"))));
    EXPECT_TRUE(QFileInfo::exists(apps() + "/notes.txt"));
    EXPECT_TRUE(QFileInfo::exists(apps() + "/.Claude Orphan.app.json"));
    EXPECT_FALSE(QFileInfo(apps() + "/Linked.app").isSymLink());
    EXPECT_EQ(test::readFile(outside + "/Contents/file"), "outside");
}

TEST_F(Prepare, RefreshIconFollowsColourAndInitialsWithoutCopying) {
    auto work = copiesAccount("Work");
    ASSERT_TRUE(prepare(work).ok());
    const QString copy = copyOf("Work");
    test::writeFile(copy + "/marker", "");
    platform.desktopFiles.customIcons.clear();

    AppCloner::refreshIcon(platform.desktopFiles, work, source, apps());
    EXPECT_TRUE(platform.desktopFiles.customIcons.isEmpty());

    // Painted on a worker thread, then set and recorded on the main thread.
    work.color = model::ProfileColor::Plum;
    AppCloner::refreshIcon(platform.desktopFiles, work, source, apps());
    ASSERT_TRUE(test::waitUntil([&] { return AppCloner::readMeta(copy)->iconSignature == "v2|plum|W"; }));
    EXPECT_TRUE(platform.desktopFiles.customIcons.contains(copy));
    EXPECT_TRUE(QFile::exists(copy + "/marker"));

    // No record or no copy: nothing to refresh.
    platform.desktopFiles.customIcons.clear();
    auto other = copiesAccount("Other", model::ProfileColor::Sky);
    AppCloner::refreshIcon(platform.desktopFiles, other, source, apps());
    QFile::remove(AppCloner::metaPath(copy));
    work.color = model::ProfileColor::Sage;
    AppCloner::refreshIcon(platform.desktopFiles, work, source, apps());
    QCoreApplication::processEvents();
    EXPECT_TRUE(platform.desktopFiles.customIcons.isEmpty());
}

TEST_F(Prepare, StandinSeesItsPolicyDataFolderAndConfigFolder) {
    const auto work = copiesAccount("Work");
    const auto result = prepare(work);
    ASSERT_TRUE(result.ok());
    const QString data = accounts() + "/Work/Desktop";
    QProcess claude;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("CLAUDE_CONFIG_DIR", accounts() + "/Work/Code");
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    claude.setProcessEnvironment(environment);
    claude.start(result.appPath + "/Contents/MacOS/Claude", {"--user-data-dir=" + data});
    ASSERT_TRUE(claude.waitForStarted());
    const QString stateFile = data + "/standin-state.json";
    ASSERT_TRUE(test::waitUntil([&] { return QFile::exists(stateFile); }, 15000));
    const QJsonObject state = QJsonDocument::fromJson(test::readFile(stateFile)).object();
    EXPECT_EQ(state.value("pid").toInteger(), claude.processId());
    EXPECT_EQ(state.value("dataDir").toString(), data);
    EXPECT_EQ(state.value("claudeConfigDir").toString(), accounts() + "/Work/Code");
    EXPECT_TRUE(state.value("autoUpdatesDisabled").toBool());
    EXPECT_EQ(state.value("arguments").toArray().last().toString(), "--user-data-dir=" + data);

    // The reopen request keeps it running; the quit request ends it normally.
    ::kill(pid_t(claude.processId()), SIGUSR1);
    EXPECT_FALSE(claude.waitForFinished(300));
    ::kill(pid_t(claude.processId()), SIGTERM);
    ASSERT_TRUE(claude.waitForFinished(10000));
    EXPECT_EQ(claude.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(claude.exitCode(), 0);
}
