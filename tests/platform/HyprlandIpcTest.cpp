#include "platform/linux/HyprlandIpc.h"
#include "platform/linux/HyprlandSocket.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <QTest>

using varrow::platform::linux_::HyprlandIpc;
using varrow::platform::linux_::HyprlandSocket;

// Each request on a connection of its own, answered and closed; the focus asked for again when
// an event says it may have moved.
TEST(HyprlandIpc, FollowsTheActiveWindowsProcessAndFocusesByProcess) {
    QTemporaryDir runtime;
    const QByteArray runtimeBefore = qgetenv("XDG_RUNTIME_DIR");
    ASSERT_TRUE(QDir().mkpath(runtime.filePath("hypr/sig_1")));
    qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    qputenv("HYPRLAND_INSTANCE_SIGNATURE", "../escape");
    EXPECT_TRUE(HyprlandIpc::socketPath().isEmpty());
    qputenv("HYPRLAND_INSTANCE_SIGNATURE", "sig_1");

    QList<QByteArray> replies{R"({"address":"0x5a","class":"com.anthropic.Claude","pid":3141})",
                              R"({"address":"0x5b","pid":2718})", "No such window found"};
    QList<QByteArray> received;
    QLocalServer requests, events;
    QObject::connect(&requests, &QLocalServer::newConnection, [&] {
        QLocalSocket* client = requests.nextPendingConnection();
        QObject::connect(client, &QLocalSocket::readyRead, [&, client] {
            received.append(client->readAll());
            client->write(replies.isEmpty() ? QByteArray() : replies.takeFirst());
            client->disconnectFromServer();
        });
    });
    QLocalSocket* eventClient = nullptr;
    QObject::connect(&events, &QLocalServer::newConnection,
                     [&] { eventClient = events.nextPendingConnection(); });
    ASSERT_TRUE(requests.listen(runtime.filePath("hypr/sig_1/.socket.sock")));
    ASSERT_TRUE(events.listen(runtime.filePath("hypr/sig_1/.socket2.sock")));
    EXPECT_EQ(HyprlandIpc::socketPath(), requests.fullServerName());
    EXPECT_EQ(HyprlandIpc::eventSocketPath(), events.fullServerName());

    HyprlandSocket socket(HyprlandIpc::socketPath(), HyprlandIpc::eventSocketPath());
    socket.watchFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return socket.focusedPid() == 3141 && eventClient; }));
    eventClient->write("openlayer>>bar\nactivewindow>>com.anthropic.Claude,Claude\nactivewindowv2>>5b\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return socket.focusedPid() == 2718; }));
    socket.focus(99);
    ASSERT_TRUE(QTest::qWaitFor([&] { return received.size() == 3; }));
    EXPECT_EQ(received,
              (QList<QByteArray>{"j/activewindow", "j/activewindow", "dispatch focuswindow pid:99"}));
    // No window in front: Hyprland answers an empty object.
    EXPECT_EQ(HyprlandIpc::pidOfActiveWindow("{}"), std::nullopt);
    qunsetenv("HYPRLAND_INSTANCE_SIGNATURE");
    qputenv("XDG_RUNTIME_DIR", runtimeBefore);
}
