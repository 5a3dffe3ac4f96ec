#include "platform/linux/LinuxLoginItems.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <QFileInfo>

using varrow::platform::linux_::LinuxLoginItems;
using varrow::test::readFile;
using varrow::test::TempHome;
using varrow::test::writeFile;

TEST(LinuxLoginItems, WritesReadsAndRemovesTheAutostartEntry) {
    TempHome home;
    LinuxLoginItems items(home.file("autostart"), "/opt/varrow/bin/varrow", {"/opt/varrow/bin/varrow"});
    EXPECT_FALSE(items.isEnabled());
    const auto on = items.set(true);
    ASSERT_TRUE(on) << on.failure().text().toStdString();
    EXPECT_TRUE(items.isEnabled());
    const QByteArray entry = readFile(home.file("autostart/varrow.desktop"));
    EXPECT_TRUE(entry.startsWith("[Desktop Entry]\n"));
    EXPECT_TRUE(entry.contains("\nType=Application\n"));
    EXPECT_TRUE(entry.contains("\nExec=\"/opt/varrow/bin/varrow\" --login-item\n"));

    // A user who hid the entry in the session settings turned it off.
    writeFile(home.file("autostart/varrow.desktop"), entry + "Hidden=true\n");
    EXPECT_FALSE(items.isEnabled());
    writeFile(home.file("autostart/varrow.desktop"), "[Other]\nHidden=true\n[Desktop Entry]\nExec=x\n");
    EXPECT_TRUE(items.isEnabled());

    ASSERT_TRUE(items.set(false));
    EXPECT_FALSE(QFileInfo::exists(home.file("autostart/varrow.desktop")));
    EXPECT_TRUE(items.set(false));  // already off
}

TEST(LinuxLoginItems, ExecQuotingKeepsOddPathsIntact) {
    EXPECT_EQ(LinuxLoginItems::execLine("/home/a b/varrow"), "\"/home/a b/varrow\" --login-item");
    EXPECT_EQ(LinuxLoginItems::execLine("/x/$HOME`\"/100%"), R"("/x/\\$HOME\\`\\"/100%%" --login-item)");
    EXPECT_EQ(LinuxLoginItems::execLine("/x\\y"), R"("/x\\\\y" --login-item)");
}

TEST(LinuxLoginItems, FailuresAndTheLoginFlag) {
    TempHome home;
    writeFile(home.file("blocked"), "a file where the folder should be");
    LinuxLoginItems blocked(home.file("blocked"), "/bin/varrow", {"/bin/varrow"});
    const auto failed = blocked.set(true);
    ASSERT_FALSE(failed);
    EXPECT_FALSE(failed.failure().message.isEmpty());

    EXPECT_TRUE(LinuxLoginItems({}, "/bin/varrow", {"/bin/varrow", "--login-item"}).launchedAsLoginItem());
    EXPECT_FALSE(LinuxLoginItems({}, "/bin/varrow", {"/bin/varrow"}).launchedAsLoginItem());
    // Only an argument counts, never the program's own name.
    EXPECT_FALSE(LinuxLoginItems({}, "--login-item", {"--login-item"}).launchedAsLoginItem());
}
