#include "install/AsarArchive.h"
#include "install/ClaudeUserEntry.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <QFile>

using varrow::install::AsarArchive;
using varrow::install::ClaudeUserEntry;
using varrow::test::readFile;
using varrow::test::TempHome;
using varrow::test::waitUntil;
using varrow::test::writeFile;

namespace {

void makeExecutable(const QString& path) {
    writeFile(path, "#!/bin/sh\n");
    QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner);
}

// What Claude writes at its start: its own executable everywhere, quoted where it must be.
QByteArray generatedEntry(const QString& program, const QByteArray& marker = "X-Claude-Generated=true\n") {
    const QByteArray quoted = program.contains(u' ') ? "\"" + program.toUtf8() + "\"" : program.toUtf8();
    return "[Desktop Entry]\nType=Application\nName=Claude\nTryExec=" + program.toUtf8() +
           "\nExec=" + quoted + " %u\nMimeType=x-scheme-handler/claude;\nActions=new-window;\n" + marker +
           "\n[Desktop Action new-window]\nName=New Window\nExec=" + quoted + " --new-window\n";
}

}  // namespace

TEST(ClaudeUserEntry, AnEntryNamingACopyIsPutBackToTheInstallationAndKeptSo) {
    TempHome home;
    const QByteArray dataDirs = qgetenv("XDG_DATA_DIRS");
    qputenv("XDG_DATA_DIRS", home.file("system").toUtf8());
    const QString install = home.file("usr/lib/claude-desktop");
    makeExecutable(install + "/claude-desktop");
    writeFile(install + "/resources/app.asar",
              AsarArchive::build({{"package.json", R"({"productName":"Claude","version":"2"})"}}));
    writeFile(home.file("system/applications/com.anthropic.Claude.desktop"),
              ("[Desktop Entry]\nType=Application\nName=Claude\nExec=" + install + "/claude-desktop %u\n")
                  .toUtf8());
    const QString copy = home.file("Varrow/Apps/Claude Work.app/claude-desktop");

    ClaudeUserEntry entry;
    writeFile(entry.path(), generatedEntry(copy));
    entry.watch();
    const QByteArray expected = generatedEntry(install + "/claude-desktop");
    EXPECT_EQ(readFile(entry.path()), expected);

    // The next copy to start writes it again: it is repaired again, with no call from outside.
    writeFile(entry.path(), generatedEntry(copy));
    EXPECT_TRUE(waitUntil([&] { return readFile(entry.path()) == expected; }));

    // An entry the user wrote, or one naming the installation, is left as it is.
    const QByteArray users = generatedEntry(copy, "");
    writeFile(entry.path(), users);
    EXPECT_FALSE(entry.repair());
    EXPECT_EQ(readFile(entry.path()), users);
    EXPECT_EQ(ClaudeUserEntry::repaired(expected, "/elsewhere/claude"), expected);
    qputenv("XDG_DATA_DIRS", dataDirs);
}
