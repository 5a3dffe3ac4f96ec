#include "app/Uninstall.h"
#include "install/ShellExtensionInstaller.h"
#include "model/Defaults.h"
#include "platform/fake/FakePlatform.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFileInfo>
#include <QTest>

using namespace varrow;

// Everything Varrow put in the desktop goes; what the user owns, or what a running Claude uses,
// stays.
TEST(Uninstall, TakesAwayOnlyWhatVarrowPutThere) {
    test::TempHome home;
    platform::fake::FakePlatform platform;
    model::Defaults::useFileForTests(home.file("defaults.ini"));
    platform.loginItems.enabled = true;
    // Varrow took the links from Claude's own entry.
    platform.linkHandlers.ownInstalled = true;
    platform.linkHandlers.userChoice.insert("claude", platform.linkHandlers.ownHandler());
    model::Defaults::shared().setValue(model::Defaults::kLinkHandlerTaken, true);
    model::Defaults::shared().setValue(model::Defaults::kPreviousLinkHandler, "com.anthropic.Claude.desktop");

    const QString apps = home.file("Varrow/Apps");
    test::writeFile(apps + "/Claude Work.app/claude-desktop", "copy");
    test::writeFile(apps + "/Claude Side.app/claude-desktop", "running copy");
    test::writeFile(apps + "/notes.txt", "mine");

    install::ShellExtensionInstaller::Places places;
    places.userExtensions = home.file("extensions");
    places.gsettings = home.file("no-gsettings-here");  // not GNOME: nothing is enabled
    const QString extension = places.userExtensions + "/" + install::ShellExtensionInstaller::uuid();
    test::writeFile(extension + "/metadata.json", R"({"uuid": "varrow@varrow.github.io"})");
    test::writeFile(extension + "/extension.js", "");
    test::writeFile(extension + "/my-notes.txt", "mine");
    install::ShellExtensionInstaller installer(places);

    app::Uninstall uninstall({platform.loginItems, platform.linkHandlers, platform.installations, installer},
                             apps, {apps + "/Claude Side.app"});
    QStringList done, failed;
    bool finished = false;
    QObject::connect(&uninstall, &app::Uninstall::finished, [&](const QStringList& d, const QStringList& f) {
        done = d;
        failed = f;
        finished = true;
    });
    uninstall.run();
    ASSERT_TRUE(QTest::qWaitFor([&] { return finished; }));

    EXPECT_EQ(done.size(), 4) << done.join('\n').toStdString();
    ASSERT_EQ(failed.size(), 1);
    EXPECT_TRUE(failed.first().contains("Claude Side")) << failed.first().toStdString();
    EXPECT_FALSE(platform.loginItems.enabled);
    EXPECT_EQ(platform.linkHandlers.defaultHandler("claude"), "com.anthropic.Claude.desktop");
    EXPECT_FALSE(platform.linkHandlers.ownInstalled);
    EXPECT_FALSE(QFileInfo::exists(apps + "/Claude Work.app"));
    EXPECT_TRUE(QFileInfo::exists(apps + "/Claude Side.app/claude-desktop"));
    EXPECT_TRUE(QFileInfo::exists(apps + "/notes.txt"));
    EXPECT_FALSE(QFileInfo::exists(extension + "/extension.js"));
    EXPECT_FALSE(QFileInfo::exists(extension + "/metadata.json"));
    EXPECT_TRUE(QFileInfo::exists(extension + "/my-notes.txt"));
    model::Defaults::useFileForTests(QString());
}
