#include "platform/linux/SelfInstall.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <QFile>

using varrow::platform::linux_::SelfInstall;
using varrow::test::TempHome;
using varrow::test::writeFile;

namespace {

QString makeProgram(const QString& path) {
    writeFile(path, "#!/bin/sh\n");
    QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner | QFile::ExeUser);
    return path;
}

}  // namespace

// Entries written by an installed varrow must keep working after upgrades, so they name it by the
// search path when that leads back to it; a build-folder varrow keeps naming its own path.
TEST(SelfInstall, EntriesNameTheInstalledProgramOrTheBuiltOne) {
    TempHome home;
    const QString installed = makeProgram(home.file("usr/bin/varrow"));
    const QString built = makeProgram(home.file("build/src/varrow"));
    EXPECT_FALSE(SelfInstall::isInstalled(installed));  // a bin folder alone is not an installation
    writeFile(home.file("usr/share/applications/") + SelfInstall::applicationId() + ".desktop",
              "[Desktop Entry]\n");

    EXPECT_TRUE(SelfInstall::isInstalled(installed));
    EXPECT_FALSE(SelfInstall::isInstalled(built));
    EXPECT_EQ(SelfInstall::program(built, {home.file("usr/bin")}), built);

    EXPECT_EQ(SelfInstall::program(installed, {home.file("usr/bin")}), "varrow");
    // Off the search path, or shadowed by another varrow: the installed path itself.
    EXPECT_EQ(SelfInstall::program(installed, {home.file("elsewhere")}), installed);
    makeProgram(home.file("opt/bin/varrow"));
    EXPECT_EQ(SelfInstall::program(installed, {home.file("opt/bin"), home.file("usr/bin")}), installed);
}
