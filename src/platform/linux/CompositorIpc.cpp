#include "platform/linux/CompositorIpc.h"

#include <QDeadlineTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalSocket>
#include <cstring>

namespace varrow::platform::linux_ {

namespace {

constexpr char kMagic[] = {'i', '3', '-', 'i', 'p', 'c'};
constexpr qsizetype kHeader = sizeof kMagic + 2 * sizeof(quint32);
// A command's answer is a short list and a tree a few hundred kilobytes; anything far larger is
// not one.
constexpr quint32 kLargestReply = 16u << 20;

bool readExactly(QLocalSocket& socket, char* into, qsizetype size, const QDeadlineTimer& deadline) {
    qsizetype done = 0;
    while (done < size) {
        if (socket.bytesAvailable() == 0 && !socket.waitForReadyRead(int(deadline.remainingTime())))
            return false;
        const qint64 n = socket.read(into + done, size - done);
        if (n < 0) return false;
        done += n;
    }
    return true;
}

}  // namespace

QString CompositorIpc::socketPath() {
    const QString sway = qEnvironmentVariable("SWAYSOCK");
    return sway.isEmpty() ? qEnvironmentVariable("I3SOCK") : sway;
}

QByteArray CompositorIpc::encode(quint32 type, const QByteArray& payload) {
    QByteArray message(kMagic, sizeof kMagic);
    const quint32 length = quint32(payload.size());
    message.append(reinterpret_cast<const char*>(&length), sizeof length);
    message.append(reinterpret_cast<const char*>(&type), sizeof type);
    return message + payload;
}

std::optional<bool> CompositorIpc::succeeded(const QByteArray& payload) {
    const QJsonDocument document = QJsonDocument::fromJson(payload);
    if (!document.isArray() || document.array().isEmpty()) return std::nullopt;
    for (const QJsonValue& part : document.array()) {
        if (!part.isObject() || !part.toObject().value(QLatin1String("success")).isBool())
            return std::nullopt;
        if (!part.toObject().value(QLatin1String("success")).toBool()) return false;
    }
    return true;
}

std::optional<QByteArray> CompositorIpc::request(quint32 type, const QByteArray& payload,
                                                 std::chrono::milliseconds timeout) {
    const QString path = socketPath();
    if (path.isEmpty()) return std::nullopt;
    const QDeadlineTimer deadline(timeout);
    QLocalSocket socket;
    socket.connectToServer(path);
    if (!socket.waitForConnected(int(deadline.remainingTime()))) return std::nullopt;
    socket.write(encode(type, payload));
    if (!socket.waitForBytesWritten(int(deadline.remainingTime()))) return std::nullopt;

    char header[kHeader];
    if (!readExactly(socket, header, kHeader, deadline) || std::memcmp(header, kMagic, sizeof kMagic) != 0)
        return std::nullopt;
    quint32 length = 0, replyType = 0;
    std::memcpy(&length, header + sizeof kMagic, sizeof length);
    std::memcpy(&replyType, header + sizeof kMagic + sizeof length, sizeof replyType);
    if (replyType != type || length > kLargestReply) return std::nullopt;
    QByteArray reply(qsizetype(length), Qt::Uninitialized);
    if (!readExactly(socket, reply.data(), reply.size(), deadline)) return std::nullopt;
    return reply;
}

bool CompositorIpc::run(const QString& command, std::chrono::milliseconds timeout) {
    const auto reply = request(kRunCommand, command.toUtf8(), timeout);
    return reply && succeeded(*reply).value_or(false);
}

std::optional<pid_t> CompositorIpc::focusedPid(std::chrono::milliseconds timeout) {
    const auto tree = request(kGetTree, {}, timeout);
    return tree ? focusedPidIn(*tree) : std::nullopt;
}

std::optional<pid_t> CompositorIpc::focusedPidIn(const QByteArray& tree) {
    const QJsonDocument document = QJsonDocument::fromJson(tree);
    if (!document.isObject()) return std::nullopt;
    // Depth-first through tiled and floating children; the focused node is a window, not a
    // workspace or output (those carry no pid).
    QList<QJsonObject> pending{document.object()};
    while (!pending.isEmpty()) {
        const QJsonObject node = pending.takeLast();
        if (node.value(QLatin1String("focused")).toBool()) {
            const double pid = node.value(QLatin1String("pid")).toDouble();
            return pid >= 1 && pid <= 4194304 ? std::optional<pid_t>(pid_t(pid)) : std::nullopt;
        }
        for (const char* key : {"nodes", "floating_nodes"})
            for (const QJsonValue& child : node.value(QLatin1String(key)).toArray())
                if (child.isObject()) pending.append(child.toObject());
    }
    return std::nullopt;
}

}  // namespace varrow::platform::linux_
