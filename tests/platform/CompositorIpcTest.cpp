#include "platform/linux/CompositorIpc.h"
#include "platform/linux/SwaySocket.h"

#include <gtest/gtest.h>
#include <QLocalServer>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using varrow::platform::linux_::CompositorIpc;
using varrow::platform::linux_::SwaySocket;

namespace {

// A compositor's socket on the test's own loop: each connection it takes and what came over it.
struct FakeCompositor {
    QTemporaryDir dir;
    QLocalServer server;
    QList<QLocalSocket*> clients;
    QList<QByteArray> received;

    bool listen() {
        QObject::connect(&server, &QLocalServer::newConnection, [this] {
            while (QLocalSocket* client = server.nextPendingConnection()) {
                const qsizetype index = clients.size();
                clients.append(client);
                received.append(QByteArray());
                QObject::connect(client, &QLocalSocket::readyRead,
                                 [this, client, index] { received[index] += client->readAll(); });
            }
        });
        return server.listen(dir.filePath("sway-ipc.sock"));
    }
    bool waitFor(qsizetype connection, const QByteArray& bytes) {
        return QTest::qWaitFor([&] { return received.size() > connection && received[connection] == bytes; });
    }
    void send(qsizetype connection, quint32 type, const QByteArray& payload) {
        clients[connection]->write(CompositorIpc::encode(type, payload));
    }
};

}  // namespace

TEST(CompositorIpc, MessagesAreFramedAndCommandAnswersRead) {
    EXPECT_EQ(CompositorIpc::succeeded(R"([{"success":true},{"success":true}])"), true);
    EXPECT_EQ(CompositorIpc::succeeded(R"([{"success":false,"error":"No matching node"}])"), false);
    EXPECT_FALSE(CompositorIpc::succeeded("[]").has_value());
    EXPECT_FALSE(CompositorIpc::succeeded("not json").has_value());

    // Two messages read in pieces come out whole, one at a time; a stranger's bytes are no message.
    QByteArray stream = CompositorIpc::encode(CompositorIpc::kWindowEvent, "{}") +
                        CompositorIpc::encode(CompositorIpc::kRunCommand, "[]");
    QByteArray buffer = stream.left(10);
    bool broken = false;
    EXPECT_FALSE(CompositorIpc::takeMessage(buffer, &broken));
    buffer += stream.mid(10);
    const auto first = CompositorIpc::takeMessage(buffer, &broken);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->type, CompositorIpc::kWindowEvent);
    EXPECT_EQ(CompositorIpc::takeMessage(buffer, &broken)->payload, "[]");
    EXPECT_TRUE(buffer.isEmpty());
    QByteArray junk = "HTTP/1.1 200 OK\r\n\r\n";
    EXPECT_FALSE(CompositorIpc::takeMessage(junk, &broken));
    EXPECT_TRUE(broken);
}

// Two accounts whose windows share an app id are told apart by the focused window's process.
TEST(CompositorIpc, TheFocusedWindowsProcessComesFromTheTree) {
    const QByteArray tree = R"({"id":1,"type":"root","focused":false,"nodes":[
        {"id":3,"type":"output","nodes":[{"id":4,"type":"workspace","focused":false,
          "nodes":[{"id":7,"type":"con","app_id":"com.anthropic.Claude","pid":2001,"focused":false}],
          "floating_nodes":[{"id":9,"type":"floating_con","app_id":"com.anthropic.Claude","pid":2002,
                             "focused":true}]}]}]})";
    EXPECT_EQ(CompositorIpc::focusedPidIn(tree), 2002);
    // A focused workspace (nothing open on it) has no process.
    EXPECT_EQ(CompositorIpc::focusedPidIn(R"({"nodes":[{"type":"workspace","focused":true}]})"),
              std::nullopt);
    EXPECT_EQ(CompositorIpc::focusedPidIn("[]"), std::nullopt);
}

// The focus follows the tree and then the events, without Varrow ever waiting for an answer; a
// focus command goes over a connection of its own.
TEST(SwaySocket, FollowsTheFocusByEventsAndSendsCommands) {
    FakeCompositor sway;
    ASSERT_TRUE(sway.listen());
    SwaySocket socket(sway.server.fullServerName());
    QSignalSpy changed(&socket, &SwaySocket::focusChanged);
    socket.watchFocus();
    ASSERT_TRUE(
        sway.waitFor(0, CompositorIpc::encode(CompositorIpc::kSubscribe, R"(["window","workspace"])") +
                            CompositorIpc::encode(CompositorIpc::kGetTree, {})));
    sway.send(0, CompositorIpc::kSubscribe, R"({"success":true})");
    sway.send(0, CompositorIpc::kGetTree, R"({"nodes":[{"type":"con","pid":2001,"focused":true}]})");
    ASSERT_TRUE(QTest::qWaitFor([&] { return socket.focusedPid() == 2001; }));

    sway.send(0, CompositorIpc::kWindowEvent, R"({"change":"focus","container":{"pid":2002}})");
    ASSERT_TRUE(QTest::qWaitFor([&] { return socket.focusedPid() == 2002; }));
    // Another workspace with nothing on it, then back to one whose focused window is 2001's.
    sway.send(0, CompositorIpc::kWorkspaceEvent,
              R"({"change":"focus","current":{"type":"workspace","focused":true}})");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !socket.focusedPid(); }));
    sway.send(0, CompositorIpc::kWorkspaceEvent,
              R"({"change":"focus","current":{"nodes":[{"pid":2001,"focused":true}]}})");
    ASSERT_TRUE(QTest::qWaitFor([&] { return socket.focusedPid() == 2001; }));
    // The window in front closing leaves nothing focused until the compositor names the next.
    sway.send(0, CompositorIpc::kWindowEvent, R"({"change":"title","container":{"pid":2002}})");
    sway.send(0, CompositorIpc::kWindowEvent, R"({"change":"close","container":{"pid":2001}})");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !socket.focusedPid(); }));
    EXPECT_EQ(changed.count(), 5);

    socket.focus(42);
    ASSERT_TRUE(sway.waitFor(1, CompositorIpc::encode(CompositorIpc::kRunCommand, "[pid=42] focus")));
    // The compositor going away takes what it said along.
    sway.send(0, CompositorIpc::kWindowEvent, R"({"change":"focus","container":{"pid":2002}})");
    ASSERT_TRUE(QTest::qWaitFor([&] { return socket.focusedPid() == 2002; }));
    sway.clients[0]->disconnectFromServer();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !socket.focusedPid(); }));
}
