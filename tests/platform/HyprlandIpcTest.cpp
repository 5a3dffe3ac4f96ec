#include "platform/linux/HyprlandIpc.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <QThread>

using varrow::platform::linux_::HyprlandIpc;

namespace {

// Hyprland's request socket on its own thread: one request a connection, answered and closed.
class FakeHyprland : public QThread {
public:
    FakeHyprland(QString path, QList<QByteArray> replies)
        : path_(std::move(path)), replies_(std::move(replies)) {}
    QList<QByteArray> received;
    bool waitReady() {
        return varrow::test::waitUntil([this] { return ready_.load(); }, 5000);
    }

protected:
    void run() override {
        QLocalServer server;
        if (!server.listen(path_)) return;
        ready_.store(true);
        for (const QByteArray& reply : replies_) {
            if (!server.waitForNewConnection(5000)) return;
            QLocalSocket* client = server.nextPendingConnection();
            if (client->waitForReadyRead(5000)) received.append(client->readAll());
            client->write(reply);
            client->waitForBytesWritten(1000);
            client->disconnectFromServer();
            delete client;
        }
    }

private:
    QString path_;
    QList<QByteArray> replies_;
    std::atomic<bool> ready_{false};
};

}  // namespace

TEST(HyprlandIpc, AsksForTheActiveWindowsProcessAndFocusesByProcess) {
    QTemporaryDir runtime;
    const QByteArray runtimeBefore = qgetenv("XDG_RUNTIME_DIR");
    ASSERT_TRUE(QDir().mkpath(runtime.filePath("hypr/sig_1")));
    qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    qputenv("HYPRLAND_INSTANCE_SIGNATURE", "../escape");
    EXPECT_TRUE(HyprlandIpc::socketPath().isEmpty());
    qputenv("HYPRLAND_INSTANCE_SIGNATURE", "sig_1");

    const QString path = runtime.filePath("hypr/sig_1/.socket.sock");
    FakeHyprland hyprland(path, {R"({"address":"0x5a","class":"com.anthropic.Claude","pid":3141})", "ok",
                                 "No such window found"});
    hyprland.start();
    ASSERT_TRUE(hyprland.waitReady());
    EXPECT_EQ(HyprlandIpc::socketPath(), path);
    EXPECT_EQ(HyprlandIpc::focusedPid(std::chrono::milliseconds(5000)), 3141);
    EXPECT_TRUE(HyprlandIpc::focus(3141, std::chrono::milliseconds(5000)));
    EXPECT_FALSE(HyprlandIpc::focus(99, std::chrono::milliseconds(5000)));
    hyprland.wait();
    EXPECT_EQ(hyprland.received, (QList<QByteArray>{"j/activewindow", "dispatch focuswindow pid:3141",
                                                    "dispatch focuswindow pid:99"}));
    // No window in front: Hyprland answers an empty object.
    EXPECT_EQ(HyprlandIpc::pidOfActiveWindow("{}"), std::nullopt);
    qunsetenv("HYPRLAND_INSTANCE_SIGNATURE");
    qputenv("XDG_RUNTIME_DIR", runtimeBefore);
}
