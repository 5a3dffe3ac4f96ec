#include "platform/linux/LinuxLinkHandlers.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

using varrow::platform::linux_::LinuxLinkHandlers;
using varrow::test::TempHome;
using varrow::test::writeFile;

// The user's own lists decide without a helper tool: the desktop's own list over the common one,
// and an entry that is not installed is left to the tools, which pass it over.
TEST(LinuxLinkHandlers, TheUsersOwnListsDecideInTheDesktopsOrder) {
    TempHome home;
    const QByteArray desktop = qgetenv("XDG_CURRENT_DESKTOP");
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", home.file("no-tools").toUtf8());  // a tool asked would answer nothing
    qputenv("XDG_CURRENT_DESKTOP", "KDE");
    LinuxLinkHandlers handlers(home.file("applications"), home.file("config"), "/usr/bin/varrow");
    writeFile(home.file("applications/varrow-link.desktop"), "[Desktop Entry]\n");
    writeFile(home.file("applications/other.desktop"), "[Desktop Entry]\n");
    writeFile(home.file("config/mimeapps.list"),
              "[Added Associations]\nx-scheme-handler/claude=other.desktop;\n"
              "[Default Applications]\nx-scheme-handler/claude=varrow-link.desktop;\n");
    EXPECT_EQ(handlers.defaultHandler("claude"), "varrow-link.desktop");

    writeFile(home.file("config/kde-mimeapps.list"),
              "[Default Applications]\nx-scheme-handler/claude=other.desktop\n");
    EXPECT_EQ(handlers.defaultHandler("claude"), "other.desktop");

    // Not installed: the desktop's list gives no answer, and without tools the common one stands.
    writeFile(home.file("config/kde-mimeapps.list"),
              "[Default Applications]\nx-scheme-handler/claude=gone.desktop\n");
    EXPECT_EQ(handlers.defaultHandler("claude"), "varrow-link.desktop");
    if (desktop.isNull())
        qunsetenv("XDG_CURRENT_DESKTOP");
    else
        qputenv("XDG_CURRENT_DESKTOP", desktop);
    qputenv("PATH", path);
}
