#include "install/AsarArchive.h"
#include "install/AsarFixture.h"
#include "install/ClaudeInstallations.h"
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
#include <QJsonDocument>

using varrow::install::AsarArchive;
using varrow::install::LauncherEntries;
using varrow::install::LinuxClaudeCopy;
using varrow::install::LinuxClaudeInstall;
using varrow::platform::linux_::DesktopEntry;
using varrow::test::archiveWithIndex;
using varrow::test::LogCapture;
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

// The Linux package with this archive, an unpacked file beside it and another resource.
QString makeInstall(const QString& folder, const QByteArray& archive) {
    writeFile(folder + "/claude-desktop", "#!/bin/sh\n");
    QFile::setPermissions(folder + "/claude-desktop", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    writeFile(folder + "/resources/app.asar", archive);
    writeFile(folder + "/resources/app.asar.unpacked/native/addon.node", "native");
    writeFile(folder + "/resources/en-US.pak", "locale");
    return folder;
}

QString desktopName(const QString& copy) {
    const auto archive = AsarArchive::open(copy + "/resources/app.asar");
    const auto package = archive ? archive->read("package.json") : std::nullopt;
    return package ? QJsonDocument::fromJson(*package)["desktopName"].toString() : QString();
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

TEST(LinuxClaudeCopy, CopyCarriesItsOwnArchiveNamingItsLauncherEntryBesideLinkedResources) {
    TempHome home;
    const QByteArray archive = readAll(QStringLiteral(VARROW_TEST_DATA "/packed.asar"));
    const QString install = makeInstall(home.file("lib/claude-desktop"), archive);
    const QString copy = home.file("Apps/Claude Work.app");
    const QString name = LauncherEntries::stem(copy) + ".desktop";

    ASSERT_EQ(LinuxClaudeCopy::makeLinked(install, copy).toStdString(), "");
    ASSERT_EQ(LinuxClaudeCopy::setDesktopName(copy, name).toStdString(), "");
    EXPECT_FALSE(QFileInfo(copy + "/resources").isSymLink());
    EXPECT_FALSE(QFileInfo(copy + "/resources/app.asar").isSymLink());
    EXPECT_EQ(desktopName(copy), name);
    EXPECT_EQ(QFileInfo(copy + "/resources/en-US.pak").symLinkTarget(), install + "/resources/en-US.pak");
    EXPECT_EQ(readAll(copy + "/resources/app.asar.unpacked/native/addon.node"), "native");
    EXPECT_EQ(readAll(install + "/resources/app.asar"), archive);
    EXPECT_EQ(LinuxClaudeInstall::versionOf(copy), "0.9.1");
    EXPECT_EQ(QDir(copy).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList({"claude-desktop", "resources"}));

    // However the installation copies, the copy's windows carry the class it is started with.
    varrow::install::ClaudeInstallations installations;
    const QString home2 = home.file("Apps/Claude Home.app");
    ASSERT_TRUE(installations.copyApplication(install, home2).ok());
    EXPECT_EQ(desktopName(home2), LauncherEntries::stem(home2) + ".desktop");
    EXPECT_EQ(installations.copyLaunchArguments(home2),
              QStringList{"--class=" + LauncherEntries::stem(home2)});
}

TEST(LinuxClaudeCopy, DamagedArchiveLeavesThePlainLinkedCopyAndSaysWhy) {
    TempHome home;
    const QByteArray package = R"({"productName":"Claude","version":"2.0"})";
    const QByteArray archive = archiveWithIndex(
        R"({"files":{"package.json":{"size":40,"offset":"0"},"big.bin":{"size":999,"offset":"0"}}})",
        package);
    const QString install = makeInstall(home.file("lib/claude-desktop"), archive);
    const QString copy = home.file("Apps/Claude Work.app");

    ASSERT_EQ(LinuxClaudeCopy::makeLinked(install, copy).toStdString(), "");
    EXPECT_TRUE(LinuxClaudeCopy::setDesktopName(copy, "x.desktop").contains("big.bin"));
    EXPECT_EQ(QFileInfo(copy + "/resources").symLinkTarget(), install + "/resources");
    EXPECT_EQ(QDir(copy).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList({"claude-desktop", "resources"}));

    // Making the copy still succeeds, with one line in the log.
    LogCapture log;
    varrow::install::ClaudeInstallations installations;
    const QString other = home.file("Apps/Claude Home.app");
    ASSERT_TRUE(installations.copyApplication(install, other).ok());
    ASSERT_EQ(log.lines.size(), 1);
    EXPECT_TRUE(log.lines[0].startsWith("Varrow: Claude Home keeps Claude's window class: "))
        << log.lines[0].toStdString();
    EXPECT_EQ(readAll(other + "/resources/app.asar"), archive);
    EXPECT_EQ(LinuxClaudeInstall::versionOf(other), "2.0");
}
