#include "platform/linux/CompositorIpc.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <QThread>
#include <cstring>

using varrow::platform::linux_::CompositorIpc;

namespace {

// A compositor's command socket on its own thread: answers each command with `reply`, and keeps
// what it was sent.
class FakeCompositor : public QThread {
public:
    FakeCompositor(QString path, QByteArray reply) : path_(std::move(path)), reply_(std::move(reply)) {}
    QByteArray received;

protected:
    void run() override {
        QLocalServer server;
        if (!server.listen(path_)) return;
        ready_.store(true);
        if (!server.waitForNewConnection(5000)) return;
        QLocalSocket* client = server.nextPendingConnection();
        // One whole message: its header says how long the payload is.
        auto whole = [this] {
            quint32 length = 0;
            if (received.size() >= 14) std::memcpy(&length, received.constData() + 6, sizeof length);
            return received.size() >= 14 && received.size() >= 14 + qsizetype(length);
        };
        while (!whole() && client->waitForReadyRead(5000)) received += client->readAll();
        if (!reply_.isEmpty()) {
            client->write(reply_);
            client->waitForBytesWritten(1000);
        }
        client->waitForDisconnected(2000);
    }

public:
    bool waitReady() {
        return varrow::test::waitUntil([this] { return ready_.load(); }, 5000);
    }

private:
    QString path_;
    QByteArray reply_;
    std::atomic<bool> ready_{false};
};

}  // namespace

TEST(CompositorIpc, SendsTheCommandAndReadsWhetherEveryPartSucceeded) {
    EXPECT_EQ(CompositorIpc::succeeded(R"([{"success":true},{"success":true}])"), true);
    EXPECT_EQ(CompositorIpc::succeeded(R"([{"success":false,"error":"No matching node"}])"), false);
    EXPECT_FALSE(CompositorIpc::succeeded("[]").has_value());
    EXPECT_FALSE(CompositorIpc::succeeded("not json").has_value());

    QTemporaryDir dir;
    const QString path = dir.filePath("sway-ipc.sock");
    qputenv("SWAYSOCK", path.toUtf8());
    for (const auto& [answer, expected] : {std::pair{QByteArray(R"([{"success":true}])"), true},
                                           {R"([{"success":false}])", false},
                                           {"", false}}) {
        FakeCompositor compositor(path, answer.isEmpty()
                                            ? QByteArray()
                                            : CompositorIpc::encode(CompositorIpc::kRunCommand, answer));
        compositor.start();
        ASSERT_TRUE(compositor.waitReady());
        // No answer: the wait ends at the deadline, as false.
        EXPECT_EQ(
            CompositorIpc::run("[pid=42] focus", std::chrono::milliseconds(answer.isEmpty() ? 300 : 5000)),
            expected);
        compositor.wait();
        EXPECT_EQ(compositor.received, CompositorIpc::encode(0, "[pid=42] focus"));
        QFile::remove(path);
    }
    qputenv("SWAYSOCK", "");
    qputenv("I3SOCK", "");
    EXPECT_FALSE(CompositorIpc::run("[pid=42] focus", std::chrono::milliseconds(100)));
    qunsetenv("SWAYSOCK");
    qunsetenv("I3SOCK");
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

    QTemporaryDir dir;
    const QString path = dir.filePath("sway-ipc.sock");
    qputenv("SWAYSOCK", path.toUtf8());
    FakeCompositor compositor(path, CompositorIpc::encode(CompositorIpc::kGetTree, tree));
    compositor.start();
    ASSERT_TRUE(compositor.waitReady());
    EXPECT_EQ(CompositorIpc::focusedPid(std::chrono::milliseconds(5000)), 2002);
    compositor.wait();
    EXPECT_EQ(compositor.received, CompositorIpc::encode(CompositorIpc::kGetTree, {}));
    qunsetenv("SWAYSOCK");
}
