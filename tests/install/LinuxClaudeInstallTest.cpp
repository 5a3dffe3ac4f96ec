#include "install/AsarArchive.h"
#include "install/ClaudeInstallations.h"
#include "install/LinuxClaudeInstall.h"
#include "platform/Installation.h"
#include "platform/linux/ProcScanner.h"
#include "support/ProcTree.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <unistd.h>
#include <QDir>
#include <QFile>

using varrow::install::AsarArchive;
using varrow::install::LinuxClaudeInstall;
using varrow::platform::AppHandle;
using varrow::platform::RunningApplication;
using varrow::platform::linux_::ProcScanner;
using varrow::test::ProcTree;
using varrow::test::TempHome;
using varrow::test::writeFile;

namespace {

QByteArray packageJson(const QString& product, const QString& version) {
    return QStringLiteral(R"({"name":"x","productName":"%1","version":"%2"})").arg(product, version).toUtf8();
}

void makeExecutable(const QString& path, const QByteArray& bytes = "#!/bin/sh\n") {
    writeFile(path, bytes);
    QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner | QFile::ExeUser);
}

// A folder laid out like the Linux package: the Electron executable, its helpers, and the archive.
QString makeInstall(const QString& folder, const QByteArray& archive,
                    const QString& executable = "claude-desktop") {
    makeExecutable(folder + "/" + executable);
    makeExecutable(folder + "/chrome-sandbox");
    makeExecutable(folder + "/chrome_crashpad_handler");
    makeExecutable(folder + "/libffmpeg.so");
    writeFile(folder + "/resources/app.asar", archive);
    return folder;
}

QByteArray claudeArchive(const QString& version) {
    return AsarArchive::build({{"package.json", packageJson("Claude", version)}});
}

void writeEntry(const QString& path, const QString& exec, const QString& extra = {}) {
    writeFile(path,
              ("[Desktop Entry]\nType=Application\nName=Claude\nExec=" + exec + " %U\n" + extra).toUtf8());
}

struct InstallFixture : ::testing::Test {
    TempHome home;
    LinuxClaudeInstall::SearchPaths paths{{home.file("user/applications"), home.file("system/applications")},
                                          {home.file("opt/Claude")}};
};

}  // namespace

TEST_F(InstallFixture, FindsThePackageThroughItsEntryAndSymbolicLink) {
    const QString folder = makeInstall(home.file("usr/lib/claude-desktop"), claudeArchive("0.14.2"));
    QDir().mkpath(home.file("usr/bin"));
    QFile::link(folder + "/claude-desktop", home.file("usr/bin/claude-desktop"));
    writeEntry(home.file("system/applications/claude-desktop.desktop"), home.file("usr/bin/claude-desktop"),
               "Icon=claude-desktop\nStartupWMClass=Claude\n");

    const auto install = LinuxClaudeInstall::find(paths);
    ASSERT_TRUE(install);
    EXPECT_EQ(install->folder, folder);
    EXPECT_EQ(install->executable, "claude-desktop");
    EXPECT_EQ(install->version, "0.14.2");
    EXPECT_EQ(install->iconName, "claude-desktop");
    EXPECT_EQ(install->wmClass, "Claude");
    EXPECT_EQ(install->desktopEntry, home.file("system/applications/claude-desktop.desktop"));
}

TEST_F(InstallFixture, UserEntriesComeFirstThenOtherEntriesThenKnownFolders) {
    const QString system = makeInstall(home.file("usr/lib/claude-desktop"), claudeArchive("1"));
    const QString mine = makeInstall(home.file("mine/claude"), claudeArchive("2"));
    writeEntry(home.file("system/applications/claude-desktop.desktop"), system + "/claude-desktop");
    writeEntry(home.file("user/applications/claude-desktop.desktop"), mine + "/claude-desktop");
    EXPECT_EQ(LinuxClaudeInstall::find(paths)->folder, mine);

    // Without the usual entry name: any entry whose program sits beside Claude's archive, but not
    // another Electron application's, nor one of Varrow's own entries.
    QFile::remove(home.file("user/applications/claude-desktop.desktop"));
    QFile::remove(home.file("system/applications/claude-desktop.desktop"));
    const QString other = makeInstall(home.file("opt/Other"),
                                      AsarArchive::build({{"package.json", packageJson("Other", "9")}}));
    writeEntry(home.file("user/applications/aaa-other.desktop"), other + "/claude-desktop");
    writeEntry(home.file("user/applications/varrow-claude-work-1.desktop"), system + "/claude-desktop");
    writeEntry(home.file("system/applications/com.example.Claude.desktop"),
               "env GDK_BACKEND=x11 " + mine + "/claude-desktop");
    EXPECT_EQ(LinuxClaudeInstall::find(paths)->folder, mine);

    QFile::remove(home.file("system/applications/com.example.Claude.desktop"));
    EXPECT_FALSE(LinuxClaudeInstall::find(paths));
    const QString opt = makeInstall(home.file("opt/Claude"), claudeArchive("3"), "claude");
    const auto known = LinuxClaudeInstall::find(paths);
    ASSERT_TRUE(known);
    EXPECT_EQ(known->folder, opt);
    EXPECT_EQ(known->executable, "claude");
    EXPECT_TRUE(known->desktopEntry.isEmpty());
}

TEST_F(InstallFixture, ThePackagesOwnEntryComesFirstAndACopyIsNeverTheInstallation) {
    const QString package = makeInstall(home.file("usr/lib/claude-desktop"), claudeArchive("2"));
    const QString community = makeInstall(home.file("opt/claude-desktop"), claudeArchive("1"));
    writeEntry(home.file("system/applications/com.anthropic.Claude.desktop"), package + "/claude-desktop");
    writeEntry(home.file("user/applications/claude-desktop.desktop"), community + "/claude-desktop");
    EXPECT_EQ(LinuxClaudeInstall::find(paths)->folder, package);

    // Claude writes a user entry naming whichever executable started it, an account's copy too.
    const QString copy = makeInstall(home.file("Apps/Claude Work.app"), claudeArchive("2"));
    writeEntry(home.file("user/applications/com.anthropic.Claude.desktop"), copy + "/claude-desktop",
               "X-Claude-Generated=true\n");
    EXPECT_EQ(LinuxClaudeInstall::find(paths)->folder, package);
    QFile::remove(home.file("system/applications/com.anthropic.Claude.desktop"));
    EXPECT_EQ(LinuxClaudeInstall::find(paths)->folder, community);
}

TEST_F(InstallFixture, BrokenArchivesAndEntriesNeverCrashAndReadAsMissingOrUnknown) {
    // Claude's own entry leads to a folder whose archive is garbage: installed, version unknown.
    const QString folder = makeInstall(home.file("lib/claude-desktop"), QByteArray("\x04\0\0\0garbage", 11));
    writeEntry(home.file("user/applications/claude-desktop.desktop"), folder + "/claude-desktop");
    auto install = LinuxClaudeInstall::find(paths);
    ASSERT_TRUE(install);
    EXPECT_EQ(install->version, "?");

    // An archive that cannot be read is truncated mid-header; one without a version also reads "?".
    const QByteArray good = claudeArchive("5");
    writeFile(folder + "/resources/app.asar", good.left(good.size() / 2));
    EXPECT_EQ(LinuxClaudeInstall::versionOf(folder), "?");
    writeFile(folder + "/resources/app.asar",
              AsarArchive::build({{"package.json", R"({"productName":"Claude"})"}}));
    EXPECT_EQ(LinuxClaudeInstall::versionOf(folder), "?");
    EXPECT_TRUE(LinuxClaudeInstall::isClaudeFolder(folder));

    // No archive at all: not an installation.
    QFile::remove(folder + "/resources/app.asar");
    EXPECT_FALSE(LinuxClaudeInstall::find(paths));

    // Entries that cannot be used: broken quoting, no main group, a program that does not exist.
    writeFile(home.file("user/applications/claude-desktop.desktop"),
              "[Desktop Entry]\nExec=\"/unterminated\n");
    EXPECT_FALSE(LinuxClaudeInstall::find(paths));
    writeFile(home.file("user/applications/claude-desktop.desktop"), "Exec=/x\n");
    EXPECT_FALSE(LinuxClaudeInstall::find(paths));
    writeEntry(home.file("user/applications/claude-desktop.desktop"), home.file("nowhere/claude-desktop"));
    EXPECT_FALSE(LinuxClaudeInstall::find(paths));
}

TEST_F(InstallFixture, MainExecutableAndProcessFoldersIgnoreHelpers) {
    const QString folder = makeInstall(home.file("lib/claude"), claudeArchive("1"), "weird-name");
    EXPECT_EQ(LinuxClaudeInstall::mainExecutable(folder), "weird-name");
    EXPECT_EQ(LinuxClaudeInstall::folderOfExecutable(folder + "/weird-name"), QDir(folder).canonicalPath());
    EXPECT_TRUE(LinuxClaudeInstall::folderOfExecutable(folder + "/chrome_crashpad_handler").isEmpty());
    EXPECT_TRUE(LinuxClaudeInstall::folderOfExecutable(home.file("lib/nothing/claude-desktop")).isEmpty());

    // Two candidates and no known name: no guess.
    makeExecutable(folder + "/another-tool");
    EXPECT_TRUE(LinuxClaudeInstall::mainExecutable(folder).isEmpty());
    EXPECT_FALSE(LinuxClaudeInstall::isClaudeFolder(folder));

    EXPECT_EQ(LinuxClaudeInstall::displayName("/usr/lib/claude-desktop"), "Claude");
    EXPECT_EQ(LinuxClaudeInstall::displayName("/x/Apps/Claude Work.app/"), "Claude Work");
}

TEST(LinuxClaudeScanner, InstallAndCopiesAreClaudeApplicationsAndHelpersAreNot) {
    TempHome home;
    ProcTree tree(home.file("proc"));
    varrow::install::ClaudeInstallations installations;
    ProcScanner scanner(
        tree.root(), ::getuid(),
        [](pid_t pid, quint64 start, const QString& id, const QString& path, const QString& name) {
            return std::make_shared<RunningApplication>(nullptr, pid, start, id, path, name);
        },
        &installations);
    const QString install = makeInstall(home.file("usr/lib/claude-desktop"), claudeArchive("1"));
    const QString copy = makeInstall(home.file("Apps/Claude Work.app"), claudeArchive("1"));
    const QString other = makeInstall(home.file("opt/Other"),
                                      AsarArchive::build({{"package.json", packageJson("Other", "1")}}));

    tree.addProcess(100, 1, 10, install + "/claude-desktop", {install + "/claude-desktop"});
    tree.addProcess(101, 100, 11, install + "/claude-desktop",
                    {install + "/claude-desktop", "--type=zygote"});
    // A helper that outlived its parent still names itself one.
    tree.addProcess(102, 1, 12, install + "/claude-desktop",
                    {install + "/claude-desktop", "--type=gpu-process"});
    tree.addProcess(103, 1, 13, install + "/chrome_crashpad_handler", {"chrome_crashpad_handler"});
    // Most helpers rewrite their arguments into one string joined by spaces.
    tree.addProcess(104, 1, 14, copy + "/claude-desktop");
    writeFile(tree.root() + "/104/cmdline",
              (copy + "/claude-desktop --type=renderer --user-data-dir=/d --lang=en").toUtf8() +
                  QByteArray("\0\0\0", 3));
    tree.addProcess(200, 1, 20, copy + "/claude-desktop", {copy + "/claude-desktop", "--user-data-dir=/d"});
    tree.addProcess(300, 1, 30, other + "/claude-desktop", {other + "/claude-desktop"});
    scanner.scan();

    ASSERT_EQ(scanner.applications().size(), 2);
    const AppHandle main = scanner.application(100);
    ASSERT_TRUE(main);
    EXPECT_EQ(main->applicationId(), "com.anthropic.claudefordesktop");
    EXPECT_EQ(main->installationFolder(), install);
    EXPECT_EQ(main->localizedName(), "Claude");
    const AppHandle work = scanner.application(200);
    ASSERT_TRUE(work);
    EXPECT_EQ(work->installationFolder(), copy);
    EXPECT_EQ(work->localizedName(), "Claude Work");
}

TEST(PackageInstallation, EachLayoutTellsHowItStartsAndWhoItIs) {
    using Layout = varrow::platform::Installation::Layout;
    TempHome home;
    varrow::install::ClaudeInstallations installations;
    ProcScanner scanner(home.file("proc"), ::getuid(), {}, &installations);
    const QString install = makeInstall(home.file("usr/lib/claude-desktop"), claudeArchive("1.2"));
    const QString copy = makeInstall(home.file("Apps/Claude Work.app"), claudeArchive("1.2"));
    const QString bundle =
        ProcTree::makeBundle(home.file("Applications"), "Claude", "com.anthropic.claudefordesktop", "Claude");

    const auto package = scanner.installationAt(install);
    ASSERT_TRUE(package);
    EXPECT_EQ(package->layout(), Layout::Package);
    EXPECT_EQ(package->executable(), install + "/claude-desktop");
    EXPECT_EQ(package->applicationId(), "com.anthropic.claudefordesktop");
    EXPECT_EQ(package->displayName(), "Claude");
    EXPECT_EQ(package->version(), "1.2");
    EXPECT_EQ(package->windowClass(), "Claude");
    EXPECT_EQ(installations.installation(copy)->displayName(), "Claude Work");

    // A bundle is the process side's own; the package's service knows nothing of it.
    EXPECT_FALSE(installations.installation(bundle));
    const auto app = scanner.installationAt(bundle);
    ASSERT_TRUE(app);
    EXPECT_EQ(app->layout(), Layout::Bundle);
    EXPECT_EQ(app->executable(), bundle + "/Contents/MacOS/Claude");
    EXPECT_EQ(app->applicationId(), package->applicationId());
    EXPECT_TRUE(app->windowClass().isEmpty());
    // Helpers and other Electron builds are no installation of Claude.
    EXPECT_FALSE(scanner.installationAt(install + "/resources"));
    EXPECT_FALSE(scanner.installationAt(makeInstall(
        home.file("opt/Other"), AsarArchive::build({{"package.json", packageJson("Other", "1")}}))));
}
