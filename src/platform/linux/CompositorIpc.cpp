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
// A command's answer is a short list; anything far larger is not one.
constexpr quint32 kLargestReply = 1 << 20;

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

bool CompositorIpc::run(const QString& command, std::chrono::milliseconds timeout) {
    const QString path = socketPath();
    if (path.isEmpty()) return false;
    const QDeadlineTimer deadline(timeout);
    QLocalSocket socket;
    socket.connectToServer(path);
    if (!socket.waitForConnected(int(deadline.remainingTime()))) return false;
    socket.write(encode(kRunCommand, command.toUtf8()));
    if (!socket.waitForBytesWritten(int(deadline.remainingTime()))) return false;

    char header[kHeader];
    if (!readExactly(socket, header, kHeader, deadline) || std::memcmp(header, kMagic, sizeof kMagic) != 0)
        return false;
    quint32 length = 0, type = 0;
    std::memcpy(&length, header + sizeof kMagic, sizeof length);
    std::memcpy(&type, header + sizeof kMagic + sizeof length, sizeof type);
    if (type != kRunCommand || length > kLargestReply) return false;
    QByteArray payload(qsizetype(length), Qt::Uninitialized);
    if (!readExactly(socket, payload.data(), payload.size(), deadline)) return false;
    return succeeded(payload).value_or(false);
}

}  // namespace varrow::platform::linux_
