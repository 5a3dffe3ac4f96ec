#include "platform/linux/LinuxLinkHandlers.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QFileInfo>

using varrow::platform::linux_::LinuxLinkHandlers;
using varrow::test::readFile;
using varrow::test::TempHome;
using varrow::test::waitUntil;
using varrow::test::writeFile;

namespace {
// A session whose desktop is KDE, with no system folders but the test's own.
class LinkHandlersTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"XDG_CURRENT_DESKTOP", "XDG_CONFIG_DIRS", "XDG_DATA_DIRS"})
            saved.append(qgetenv(name));
        qputenv("XDG_CURRENT_DESKTOP", "KDE");
        qputenv("XDG_CONFIG_DIRS", home.file("etc").toUtf8());
        qputenv("XDG_DATA_DIRS", home.file("share").toUtf8());
        writeFile(home.file("applications/varrow-link.desktop"), "[Desktop Entry]\n");
        writeFile(home.file("applications/other.desktop"), "[Desktop Entry]\n");
        writeFile(home.file("share/applications/system.desktop"), "[Desktop Entry]\n");
    }
    void TearDown() override {
        int i = 0;
        for (const char* name : {"XDG_CURRENT_DESKTOP", "XDG_CONFIG_DIRS", "XDG_DATA_DIRS"}) {
            if (saved[i].isNull())
                qunsetenv(name);
            else
                qputenv(name, saved[i]);
            ++i;
        }
    }
    TempHome home;
    QList<QByteArray> saved;
    LinuxLinkHandlers handlers{home.file("applications"), home.file("config"), "/usr/bin/varrow"};
};
}  // namespace

// The lists decide as the desktops read them, with no helper tool: the desktop's own list over the
// common one, the user's over the system's, an entry that is not installed passed over, and the
// entries' declared types last.
TEST_F(LinkHandlersTest, TheListsDecideInTheDesktopsOrder) {
    EXPECT_EQ(handlers.defaultHandler("claude"), "");
    writeFile(home.file("share/applications/mimeinfo.cache"),
              "[MIME Cache]\nx-scheme-handler/claude=system.desktop;\n");
    EXPECT_EQ(handlers.defaultHandler("claude"), "system.desktop");
    writeFile(home.file("etc/mimeapps.list"),
              "[Default Applications]\nx-scheme-handler/claude=other.desktop\n");
    EXPECT_EQ(handlers.defaultHandler("claude"), "other.desktop");
    writeFile(home.file("config/mimeapps.list"),
              "[Added Associations]\nx-scheme-handler/claude=other.desktop;\n"
              "[Default Applications]\nx-scheme-handler/claude=varrow-link.desktop\n");
    EXPECT_EQ(handlers.defaultHandler("claude"), "varrow-link.desktop");
    writeFile(home.file("config/kde-mimeapps.list"),
              "[Default Applications]\nx-scheme-handler/claude=other.desktop\n");
    EXPECT_EQ(handlers.defaultHandler("claude"), "other.desktop");
    writeFile(home.file("config/kde-mimeapps.list"),
              "[Default Applications]\nx-scheme-handler/claude=gone.desktop\n");
    EXPECT_EQ(handlers.defaultHandler("claude"), "varrow-link.desktop");
}

// A new default goes to the list that decides the type now, changing only its line; an empty one
// drops the user's line so the system's default applies again.
TEST_F(LinkHandlersTest, SettingADefaultChangesOnlyItsLineWhereItDecides) {
    const QByteArray common =
        "# mine\n[Default Applications]\ntext/plain=editor.desktop\n\n[Added Associations]\n"
        "x-scheme-handler/claude=other.desktop;\n";
    writeFile(home.file("config/mimeapps.list"), common);
    ASSERT_TRUE(handlers.setDefaultHandler("claude", "varrow-link.desktop"));
    EXPECT_EQ(readFile(home.file("config/mimeapps.list")),
              "# mine\n[Default "
              "Applications]\ntext/plain=editor.desktop\nx-scheme-handler/claude=varrow-link.desktop\n\n"
              "[Added Associations]\nx-scheme-handler/claude=other.desktop;\n");
    EXPECT_EQ(handlers.userHandler("claude"), "varrow-link.desktop");

    writeFile(home.file("config/kde-mimeapps.list"),
              "[Default Applications]\nx-scheme-handler/claude=other.desktop\n");
    ASSERT_TRUE(handlers.setDefaultHandler("claude", "varrow-link.desktop"));
    EXPECT_EQ(readFile(home.file("config/kde-mimeapps.list")),
              "[Default Applications]\nx-scheme-handler/claude=varrow-link.desktop\n");
    EXPECT_EQ(handlers.defaultHandler("claude"), "varrow-link.desktop");

    ASSERT_TRUE(handlers.setDefaultHandler("claude", ""));
    ASSERT_TRUE(handlers.setDefaultHandler("claude", ""));
    EXPECT_EQ(readFile(home.file("config/kde-mimeapps.list")), "[Default Applications]\n");
    EXPECT_EQ(handlers.defaultHandler("claude"), "other.desktop");  // the user's added association

    writeFile(home.file("config/none/x"), "");
    LinuxLinkHandlers fresh(home.file("applications"), home.file("config/none"), "/usr/bin/varrow");
    ASSERT_TRUE(fresh.setDefaultHandler("claude", "varrow-link.desktop"));
    EXPECT_EQ(readFile(home.file("config/none/mimeapps.list")),
              "[Default Applications]\nx-scheme-handler/claude=varrow-link.desktop\n");

    // A list kept with the user's dotfiles and linked in stays a link; the kept file changes.
    writeFile(home.file("dotfiles/mimeapps.list"), "[Default Applications]\n");
    writeFile(home.file("config/linked/x"), "");
    ASSERT_TRUE(QFile::link(home.file("dotfiles/mimeapps.list"), home.file("config/linked/mimeapps.list")));
    LinuxLinkHandlers linked(home.file("applications"), home.file("config/linked"), "/usr/bin/varrow");
    ASSERT_TRUE(linked.setDefaultHandler("claude", "varrow-link.desktop"));
    EXPECT_TRUE(QFileInfo(home.file("config/linked/mimeapps.list")).isSymLink());
    EXPECT_EQ(readFile(home.file("dotfiles/mimeapps.list")),
              "[Default Applications]\nx-scheme-handler/claude=varrow-link.desktop\n");
}

// Claude claiming the links again right after Varrow took them back writes the very text it wrote
// before; that is still a change to be told of.
TEST_F(LinkHandlersTest, AClaimRepeatedAfterVarrowsOwnWriteIsToldOfAgain) {
    const QByteArray claimed = "[Default Applications]\nx-scheme-handler/claude=other.desktop\n";
    writeFile(home.file("config/mimeapps.list"), "");
    int told = 0;
    QObject::connect(&handlers, &LinuxLinkHandlers::userChoicesChanged, [&told] { ++told; });
    handlers.watchUserChoices();
    writeFile(home.file("config/mimeapps.list"), claimed);
    ASSERT_TRUE(waitUntil([&] { return told == 1; }));
    ASSERT_TRUE(handlers.setDefaultHandler("claude", "varrow-link.desktop"));
    writeFile(home.file("config/mimeapps.list"), claimed);
    EXPECT_TRUE(waitUntil([&] { return told >= 2 && handlers.userHandler("claude") == "other.desktop"; }));
}
