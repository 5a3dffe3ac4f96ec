#include "platform/linux/FileManagerReveal.h"
#include "support/PrivateBus.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <QDBusConnection>
#include <QDir>
#include <QProcess>
#include <QUrl>

using varrow::platform::linux_::FileManagerReveal;
using varrow::test::PrivateBus;
using varrow::test::readFile;
using varrow::test::TempHome;
using varrow::test::waitUntil;

namespace {

TEST(FileManagerReveal, ShowsTheItemSelectedInTheFileManagerOrOpensTheFolderItself) {
    TempHome home;
    const QString account = home.file("Accounts/work");
    QDir().mkpath(account);
    PrivateBus bus;
    ASSERT_FALSE(bus.address.isEmpty()) << "dbus-daemon did not start (scripts/setup installs it)";

    const QString log = home.file("file-manager.log");
    QProcess fileManager;
    fileManager.setProcessEnvironment(bus.environment());
    fileManager.start(VARROW_STANDIN_DESKTOP, {"file-manager", log});
    ASSERT_TRUE(waitUntil([&] { return readFile(log).contains("ready"); }, 10000));

    QStringList opened;
    const auto open = [&opened](const QString& folder) { opened.append(folder); };
    FileManagerReveal::reveal(account + "/", open, bus.connection());
    const QString expected = "ShowItems " + QUrl::fromLocalFile(account).toString();
    EXPECT_TRUE(waitUntil([&] { return QString::fromUtf8(readFile(log)).contains(expected); }, 10000))
        << readFile(log).toStdString();
    EXPECT_TRUE(opened.isEmpty());

    // No file manager on the bus: the account's own folder opens instead.
    fileManager.kill();
    fileManager.waitForFinished();
    FileManagerReveal::reveal(account + "/", open, bus.connection());
    EXPECT_TRUE(waitUntil([&] { return !opened.isEmpty(); }, 10000));
    EXPECT_EQ(opened, QStringList{account});
}

}  // namespace
