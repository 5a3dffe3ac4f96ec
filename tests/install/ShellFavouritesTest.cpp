#include "install/LauncherEntries.h"
#include "install/ShellFavourites.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <QFile>

using varrow::install::LauncherEntries;
using varrow::install::ShellFavourites;
using varrow::test::readFile;
using varrow::test::TempHome;
using varrow::test::waitUntil;
using varrow::test::writeFile;

TEST(ShellFavourites, ReadsAndWritesTheGVariantList) {
    EXPECT_EQ(ShellFavourites::parse("['firefox.desktop', 'org.gnome.Nautilus.desktop']\n"),
              (QStringList{"firefox.desktop", "org.gnome.Nautilus.desktop"}));
    EXPECT_EQ(ShellFavourites::parse("@as []"), QStringList{});
    EXPECT_EQ(ShellFavourites::parse(R"(['it\'s.desktop'])"), QStringList{"it's.desktop"});
    EXPECT_FALSE(ShellFavourites::parse("No such schema “org.gnome.shell”"));
    EXPECT_FALSE(ShellFavourites::parse("['open"));
    const QStringList ids{"a.desktop", "it's.desktop", "back\\slash.desktop"};
    EXPECT_EQ(ShellFavourites::parse(ShellFavourites::format(ids)), ids);
}

// Added once, in the background, keeping the user's items; a desktop without the list gets the
// tool's own reason and nothing written.
TEST(ShellFavourites, AddsOnceThroughGsettingsAndKeepsTheUsersItems) {
    TempHome home;
    const QString copy = home.file("Apps/Claude Work.app");
    writeFile(LauncherEntries::entryPath(copy), "[Desktop Entry]\n");
    const QString id = LauncherEntries::entryId(copy);
    // A stand-in gsettings that keeps the value in a file.
    const QString store = home.file("favourites");
    writeFile(store, "['firefox.desktop']");
    const QString tool = home.file("gsettings");
    writeFile(tool,
              QStringLiteral(
                  "#!/bin/sh\n"
                  "[ \"$2 $3\" = \"org.gnome.shell favorite-apps\" ] || { echo 'No such key' >&2; exit 1; }\n"
                  "case \"$1\" in get) cat '%1';; set) printf '%s' \"$4\" > '%1';; esac\n")
                  .arg(store)
                  .toUtf8());
    QFile::setPermissions(tool, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("VARROW_GSETTINGS", tool.toUtf8());

    ShellFavourites favourites;
    QList<varrow::Result<>> results;
    const auto record = [&results](const varrow::Result<>& result) { results.append(result); };
    favourites.add(copy, record);
    favourites.add(copy, record);
    ASSERT_TRUE(waitUntil([&] { return results.size() == 2; }));
    EXPECT_TRUE(results[0].ok() && results[1].ok());
    EXPECT_TRUE(favourites.contains(copy));
    EXPECT_EQ(readFile(store), "['firefox.desktop', '" + id.toUtf8() + "']");

    writeFile(tool, "#!/bin/sh\necho 'No such schema \"org.gnome.shell\"' >&2\nexit 1\n");
    favourites.add(home.file("Apps/Claude Home.app"), record);  // no launcher entry
    writeFile(LauncherEntries::entryPath(home.file("Apps/Claude Home.app")), "[Desktop Entry]\n");
    favourites.add(home.file("Apps/Claude Home.app"), record);
    ASSERT_TRUE(waitUntil([&] { return results.size() == 4; }));
    EXPECT_FALSE(results[2].ok());
    ASSERT_FALSE(results[3].ok());
    EXPECT_EQ(results[3].failure().reason, "No such schema \"org.gnome.shell\"");
    qunsetenv("VARROW_GSETTINGS");
    EXPECT_EQ(readFile(store), "['firefox.desktop', '" + id.toUtf8() + "']");
}
