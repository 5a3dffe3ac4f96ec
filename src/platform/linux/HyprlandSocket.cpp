#include "platform/linux/HyprlandSocket.h"

#include "platform/SystemLog.h"
#include "platform/linux/HyprlandIpc.h"

#include <memory>
#include <utility>

namespace varrow::platform::linux_ {

namespace {
// The active window's description is a few hundred bytes.
constexpr qsizetype kLargestReply = 1 << 20;
}  // namespace

HyprlandSocket::HyprlandSocket(QString requests, QString events, QObject* parent)
    : CompositorSocket(parent), requests_(std::move(requests)), events_(std::move(events)) {
    connect(&eventSocket_, &QLocalSocket::readyRead, this, [this] {
        eventLine_ += eventSocket_.readAll();
        bool moved = false;
        for (qsizetype end; (end = eventLine_.indexOf('\n')) >= 0; eventLine_.remove(0, end + 1))
            moved = moved || HyprlandIpc::movesFocus(eventLine_.left(end));
        if (eventLine_.size() > kLargestReply) eventLine_.clear();
        if (moved) askFocus();
    });
    connect(&eventSocket_, &QLocalSocket::disconnected, this, [this] { setFocused(std::nullopt); });
}

HyprlandSocket::~HyprlandSocket() {
    // Requests still out and the event connection must not answer into what is already gone.
    eventSocket_.disconnect(this);
    for (QLocalSocket* request : findChildren<QLocalSocket*>(Qt::FindDirectChildrenOnly)) {
        request->disconnect();
        delete request;
    }
}

void HyprlandSocket::watchFocus() {
    if (eventSocket_.state() != QLocalSocket::UnconnectedState || events_.isEmpty()) return;
    eventSocket_.connectToServer(events_, QIODevice::ReadOnly);
    askFocus();
}

void HyprlandSocket::askFocus() {
    const quint64 question = ++asked_;
    ask("j/activewindow", [this, question](const QByteArray& answer) {
        if (question == asked_) setFocused(HyprlandIpc::pidOfActiveWindow(answer));
    });
}

void HyprlandSocket::focus(pid_t pid) {
    if (pid <= 0) return;
    const QByteArray request = "dispatch focuswindow pid:" + QByteArray::number(pid);
    ask(request, [request](const QByteArray& answer) {
        if (answer.trimmed() == "ok") return;
        // Only logged, so in English as every system-log line.
        SystemLog::write(QStringLiteral("Varrow: Hyprland refused \"%1\": %2")
                             .arg(QString::fromUtf8(request), QString::fromUtf8(answer.trimmed().left(200))));
    });
}

void HyprlandSocket::ask(const QByteArray& request, std::function<void(const QByteArray&)> answered) {
    auto* socket = new QLocalSocket(this);
    auto reply = std::make_shared<QByteArray>();
    auto done = std::make_shared<bool>(false);
    auto finish = [socket, reply, done, answered](bool whole) {
        if (std::exchange(*done, true)) return;
        socket->deleteLater();
        answered(whole ? *reply : QByteArray());
    };
    connect(socket, &QLocalSocket::connected, socket, [socket, request] { socket->write(request); });
    connect(socket, &QLocalSocket::readyRead, socket, [socket, reply, finish] {
        *reply += socket->readAll();
        if (reply->size() > kLargestReply) finish(false);
    });
    // The answer ends where Hyprland closes the connection.
    connect(socket, &QLocalSocket::disconnected, socket, [socket, reply, finish] {
        *reply += socket->readAll();
        finish(true);
    });
    connect(socket, &QLocalSocket::errorOccurred, socket, [finish](QLocalSocket::LocalSocketError error) {
        if (error != QLocalSocket::PeerClosedError) finish(false);
    });
    socket->connectToServer(requests_);
}

}  // namespace varrow::platform::linux_
