#include "platform/linux/SwaySocket.h"

#include "platform/SystemLog.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace varrow::platform::linux_ {

SwaySocket::SwaySocket(QString path, QObject* parent) : CompositorSocket(parent), path_(std::move(path)) {
    open(commands_, &SwaySocket::answered);
    open(events_, &SwaySocket::event);
    // Commands that never reached the compositor get no answer to wait for.
    connect(&commands_.socket, &QLocalSocket::disconnected, this, [this] { sent_.clear(); });
    connect(&commands_.socket, &QLocalSocket::errorOccurred, this, [this] {
        if (commands_.socket.state() == QLocalSocket::UnconnectedState) sent_.clear();
    });
    // A compositor gone takes its focus along: nothing it said holds any more.
    connect(&events_.socket, &QLocalSocket::disconnected, this, [this] { setFocused(std::nullopt); });
}

SwaySocket::~SwaySocket() {
    // Closing while the members go would report to what is already gone.
    commands_.socket.disconnect(this);
    events_.socket.disconnect(this);
}

void SwaySocket::open(Channel& channel, void (SwaySocket::*take)(const CompositorIpc::Message&)) {
    connect(&channel.socket, &QLocalSocket::connected, this, [&channel] {
        channel.socket.write(channel.unsent);
        channel.unsent.clear();
    });
    connect(&channel.socket, &QLocalSocket::readyRead, this, [this, &channel, take] {
        channel.read += channel.socket.readAll();
        bool broken = false;
        while (const auto message = CompositorIpc::takeMessage(channel.read, &broken))
            (this->*take)(*message);
        if (broken) channel.socket.abort();
    });
    connect(&channel.socket, &QLocalSocket::disconnected, this, [&channel] { channel.read.clear(); });
    connect(&channel.socket, &QLocalSocket::errorOccurred, this, [&channel] { channel.unsent.clear(); });
}

void SwaySocket::send(Channel& channel, const QByteArray& message) {
    if (channel.socket.state() == QLocalSocket::UnconnectedState) channel.socket.connectToServer(path_);
    if (channel.socket.state() == QLocalSocket::ConnectedState)
        channel.socket.write(message);
    else
        channel.unsent += message;
}

void SwaySocket::watchFocus() {
    if (events_.socket.state() != QLocalSocket::UnconnectedState) return;
    // In this order: events after the tree's answer are newer than it.
    send(events_, CompositorIpc::encode(CompositorIpc::kSubscribe, R"(["window","workspace"])"));
    send(events_, CompositorIpc::encode(CompositorIpc::kGetTree, {}));
}

void SwaySocket::focus(pid_t pid) {
    if (pid <= 0) return;
    const QByteArray command = QStringLiteral("[pid=%1] focus").arg(pid).toUtf8();
    sent_.enqueue(command);
    send(commands_, CompositorIpc::encode(CompositorIpc::kRunCommand, command));
}

void SwaySocket::answered(const CompositorIpc::Message& message) {
    const QByteArray command = sent_.isEmpty() ? QByteArray() : sent_.dequeue();
    if (message.type != CompositorIpc::kRunCommand ||
        CompositorIpc::succeeded(message.payload).value_or(false))
        return;
    // Only logged, so in English as every system-log line.
    SystemLog::write(QStringLiteral("Varrow: the compositor refused \"%1\": %2")
                         .arg(QString::fromUtf8(command), QString::fromUtf8(message.payload.left(200))));
}

void SwaySocket::event(const CompositorIpc::Message& message) {
    const QJsonObject event = QJsonDocument::fromJson(message.payload).object();
    const QString change = event.value(u"change").toString();
    switch (message.type) {
        case CompositorIpc::kGetTree:
            setFocused(CompositorIpc::focusedPidIn(message.payload));
            return;
        case CompositorIpc::kWindowEvent: {
            const auto pid = validPid(event.value(u"container").toObject().value(u"pid").toDouble());
            if (change == u"focus")
                setFocused(pid);
            else if (change == u"close" && pid == focusedPid())
                setFocused(std::nullopt);  // the next focus event names whatever took its place
            return;
        }
        case CompositorIpc::kWorkspaceEvent:
            // Another workspace: its focused window, if any, is named in its own tree.
            if (change == u"focus")
                setFocused(
                    CompositorIpc::focusedPidIn(QJsonDocument(event.value(u"current").toObject()).toJson()));
            return;
        default:
            return;  // the subscription's answer
    }
}

}  // namespace varrow::platform::linux_
