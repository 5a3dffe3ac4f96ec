#include "install/ShellFavourites.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <QFile>

using varrow::install::ShellFavourites;
using varrow::test::readFile;
using varrow::test::TempHome;
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

TEST(ShellFavourites, AddsOnceThroughGsettingsAndKeepsTheUsersItems) {
    TempHome home;
    // A stand-in gsettings that keeps the value in a file.
    const QString store = home.file("favourites");
    writeFile(store, "['firefox.desktop']");
    const QString tool = home.file("gsettings");
    writeFile(tool, QStringLiteral("#!/bin/sh\n"
                                   "[ \"$2 $3\" = \"org.gnome.shell favorite-apps\" ] || exit 1\n"
                                   "case \"$1\" in get) cat '%1';; set) printf '%s' \"$4\" > '%1';; esac\n")
                        .arg(store)
                        .toUtf8());
    QFile::setPermissions(tool, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("VARROW_GSETTINGS", tool.toUtf8());
    EXPECT_TRUE(ShellFavourites::add("varrow-work-1a2b.desktop"));
    EXPECT_TRUE(ShellFavourites::add("varrow-work-1a2b.desktop"));
    EXPECT_EQ(ShellFavourites::read(), (QStringList{"firefox.desktop", "varrow-work-1a2b.desktop"}));

    // A desktop without the list: nothing is written.
    qputenv("VARROW_GSETTINGS", home.file("missing-tool").toUtf8());
    EXPECT_FALSE(ShellFavourites::read());
    EXPECT_FALSE(ShellFavourites::add("x.desktop"));
    qunsetenv("VARROW_GSETTINGS");
    EXPECT_EQ(readFile(store), "['firefox.desktop', 'varrow-work-1a2b.desktop']");
}
