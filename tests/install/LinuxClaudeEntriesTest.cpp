#include "install/AsarArchive.h"
#include "install/LauncherEntries.h"
#include "install/LinuxClaudeCopy.h"
#include "install/LinuxClaudeInstall.h"
#include "platform/linux/DesktopEntry.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>

using varrow::install::AsarArchive;
using varrow::install::LauncherEntries;
using varrow::install::LinuxClaudeCopy;
using varrow::install::LinuxClaudeInstall;
using varrow::platform::linux_::DesktopEntry;
using varrow::test::TempHome;
using varrow::test::writeFile;

namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

ino_t inode(const QString& path) {
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_ino : 0;
}

}  // namespace

TEST(LauncherEntries, EntryStartsTheAccountThroughVarrowUnderItsOwnClass) {
    TempHome home;
    const QString copy = home.file("Varrow/Apps/Claude Side \"Project\" 100%.app");
    const LauncherEntries::Entry entry{copy, "Side \"Project\" 100%", home.file("icon.png"),
                                       "/opt/my varrow/varrow"};
    ASSERT_TRUE(LauncherEntries::write(entry));

    const QString path = LauncherEntries::entryPath(copy);
    EXPECT_EQ(QFileInfo(path).absolutePath(), home.file("share/applications"));
    EXPECT_TRUE(QFileInfo(path).fileName().startsWith("varrow-claude-side-project-100-"));
    const auto parsed = DesktopEntry::read(path);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->value("Name"), "Claude Side \"Project\" 100%");
    EXPECT_EQ(parsed->value("Icon"), home.file("icon.png"));
    EXPECT_EQ(parsed->value("StartupWMClass"), LauncherEntries::windowClass(copy));
    EXPECT_EQ(parsed->execArguments(),
              QStringList({"/opt/my varrow/varrow", "open", "Side \"Project\" 100%"}));

    // The class and file name depend on the copy's name only, and tell close names apart.
    EXPECT_EQ(LauncherEntries::stem(copy),
              LauncherEntries::stem("/elsewhere/Claude Side \"Project\" 100%.app"));
    EXPECT_NE(LauncherEntries::stem("/a/Claude A-B.app"), LauncherEntries::stem("/a/Claude A B.app"));
    EXPECT_TRUE(LauncherEntries::stem("/a/Claude 日本.app").startsWith("varrow-claude-"));
}

TEST(LauncherEntries, OnlyVarrowsOwnEntriesAreEverWrittenOrRemoved) {
    TempHome home;
    const QString apps = home.file("Varrow/Apps");
    const QString folder = home.file("share/applications");
    const QString gone = apps + "/Claude Gone.app";
    const QString kept = apps + "/Claude Kept.app";
    QDir().mkpath(kept);
    ASSERT_TRUE(LauncherEntries::write({gone, "Gone", "claude-desktop", "varrow"}));
    ASSERT_TRUE(LauncherEntries::write({kept, "Kept", "claude-desktop", "varrow"}));
    // The user's own entry naming a missing copy, and Varrow-named entries for other folders.
    const QByteArray mine = "[Desktop Entry]\nName=Mine\nExec=x\nX-Varrow-Copy=" + gone.toUtf8() + "\n";
    writeFile(folder + "/my-claude.desktop", mine);
    writeFile(folder + "/varrow-elsewhere.desktop",
              "[Desktop Entry]\nX-Varrow-Copy=/somewhere/Claude X.app\n");
    writeFile(folder + "/varrow-broken.desktop", "not an entry");

    EXPECT_EQ(LauncherEntries::removeOrphans(apps), 1);
    EXPECT_FALSE(QFileInfo::exists(LauncherEntries::entryPath(gone)));
    EXPECT_TRUE(QFileInfo::exists(LauncherEntries::entryPath(kept)));
    EXPECT_EQ(readAll(folder + "/my-claude.desktop"), mine);
    EXPECT_TRUE(QFileInfo::exists(folder + "/varrow-elsewhere.desktop"));
    EXPECT_TRUE(QFileInfo::exists(folder + "/varrow-broken.desktop"));

    LauncherEntries::remove(kept);
    EXPECT_FALSE(QFileInfo::exists(LauncherEntries::entryPath(kept)));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 3);

    // A link planted under Varrow's name is replaced, and its target left alone.
    writeFile(home.file("target.desktop"), "user data");
    QFile::link(home.file("target.desktop"), LauncherEntries::entryPath(kept));
    ASSERT_TRUE(LauncherEntries::write({kept, "Kept", "claude-desktop", "varrow"}));
    EXPECT_EQ(readAll(home.file("target.desktop")), "user data");
    EXPECT_FALSE(QFileInfo(LauncherEntries::entryPath(kept)).isSymLink());
}

TEST(LinuxClaudeCopy, LinkedCopyRunsItsOwnExecutableOnTheInstalledResources) {
    TempHome home;
    const QString install = home.file("lib/claude-desktop");
    writeFile(install + "/claude-desktop", "#!/bin/sh\n");
    QFile::setPermissions(install + "/claude-desktop",
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    writeFile(install + "/libffmpeg.so", "lib");
    writeFile(install + "/resources/app.asar",
              AsarArchive::build({{"package.json", R"({"productName":"Claude","version":"1.2"})"}}));
    const QString copy = home.file("Apps/Claude Work.app");

    ASSERT_EQ(LinuxClaudeCopy::makeLinked(install, copy).toStdString(), "");
    // Same file system and our own file: a hard link, no bytes copied.
    EXPECT_FALSE(QFileInfo(copy + "/claude-desktop").isSymLink());
    EXPECT_EQ(inode(copy + "/claude-desktop"), inode(install + "/claude-desktop"));
    EXPECT_EQ(QFileInfo(copy + "/resources").symLinkTarget(), install + "/resources");
    EXPECT_TRUE(QFileInfo(copy + "/libffmpeg.so").isSymLink());
    // The copy is recognised as a copy: its processes show its own folder.
    EXPECT_TRUE(LinuxClaudeInstall::isClaudeFolder(copy));
    EXPECT_EQ(LinuxClaudeInstall::folderOfExecutable(copy + "/claude-desktop"), copy);
    EXPECT_EQ(LinuxClaudeInstall::versionOf(copy), "1.2");

    // Something already there, or a folder that is not Claude's, fails with a description.
    EXPECT_FALSE(LinuxClaudeCopy::makeLinked(install, copy).isEmpty());
    EXPECT_FALSE(LinuxClaudeCopy::makeLinked(home.file("lib"), home.file("Apps/Other.app")).isEmpty());
}
