#include "install/LauncherEntries.h"
#include "install/PlasmaLaunchers.h"
#include "support/PrivateBus.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <QJsonDocument>
#include <QJsonObject>

using varrow::Result;
using varrow::install::LauncherEntries;
using varrow::install::PlasmaLaunchers;
using varrow::test::PrivateBus;
using varrow::test::readFile;
using varrow::test::TempHome;
using varrow::test::waitUntil;
using varrow::test::writeFile;

// Plasma's scripts run against a model of its scripting objects: the copy's launcher joins the
// task manager's own list, once, with the user's launchers kept, and is then read back as pinned.
TEST(PlasmaLaunchers, PinsToTheTaskManagerThroughPlasmasScripts) {
    TempHome home;
    PrivateBus bus;
    ASSERT_FALSE(bus.address.isEmpty()) << "dbus-daemon did not start (scripts/setup installs it)";
    const QString log = home.file("plasma.log");
    // A panel as Plasma keeps it: a clock, and the icon task manager with two launchers.
    writeFile(log + ".json", R"({"panels": [{"widgets": [
        {"type": "org.kde.plasma.digitalclock", "config": {}},
        {"type": "org.kde.plasma.icontasks", "config": {"General": {
            "launchers": "applications:org.kde.dolphin.desktop,preferred://browser"}}}]}]})");
    QProcess shell;
    shell.setProcessEnvironment(bus.environment());
    shell.start(VARROW_STANDIN_DESKTOP, {"plasma-shell", log});
    ASSERT_TRUE(waitUntil([&] { return readFile(log).contains("ready"); }, 10000));

    const QString copy = home.file("Apps/Claude Work.app");
    writeFile(LauncherEntries::entryPath(copy), "[Desktop Entry]\n");
    PlasmaLaunchers launchers(bus.connection());
    launchers.refresh();
    ASSERT_TRUE(waitUntil([&] { return readFile(log).count("evaluated") == 1; }));
    EXPECT_FALSE(launchers.contains(copy));

    QList<Result<>> results;
    const auto record = [&results](const Result<>& result) { results.append(result); };
    launchers.add(copy, record);
    launchers.add(copy, record);
    ASSERT_TRUE(waitUntil([&] { return results.size() == 2; }));
    EXPECT_TRUE(results[0].ok() && results[1].ok());
    EXPECT_FALSE(readFile(log).contains("error")) << readFile(log).toStdString();

    PlasmaLaunchers later(bus.connection());
    later.refresh();
    ASSERT_TRUE(waitUntil([&] { return later.contains(copy); }));
    const QJsonObject state = QJsonDocument::fromJson(readFile(log + ".json")).object();
    const auto widget = state["panels"][0]["widgets"][1]["config"]["General"]["launchers"];
    EXPECT_EQ(widget.toVariant().toStringList(),
              QStringList({"applications:org.kde.dolphin.desktop", "preferred://browser",
                           PlasmaLaunchers::launcherFor(LauncherEntries::entryId(copy))}));

    // Plasma gone from the bus: the bus's reason reaches the caller.
    shell.kill();
    shell.waitForFinished();
    launchers.add(copy, record);
    ASSERT_TRUE(waitUntil([&] { return results.size() == 3; }));
    ASSERT_FALSE(results[2].ok());
    EXPECT_FALSE(results[2].failure().reason.isEmpty());
}
