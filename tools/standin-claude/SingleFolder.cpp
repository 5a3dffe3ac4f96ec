#include "SingleFolder.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QLocalSocket>
#include <QThread>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <cstring>
#include <optional>

namespace {

constexpr int kWaitForFirstMs = 10000;
constexpr int kRetryMs = 20;

// In the data folder when the path fits a socket address, else in the temporary folder under a
// name derived from the data folder, so both sides agree on it.
QString socketPathFor(const QString& dataDir) {
    const QString inFolder = QDir(dataDir).filePath(QStringLiteral("SingletonSocket"));
    if (QFile::encodeName(inFolder).size() < int(sizeof(sockaddr_un::sun_path)) - 1) return inFolder;
    const QByteArray hash = QCryptographicHash::hash(dataDir.toUtf8(), QCryptographicHash::Sha1).toHex();
    return QDir::temp().filePath(QStringLiteral("standin-claude-") + QString::fromLatin1(hash.left(16)));
}

// One field: its length in four bytes, most significant first, then its bytes.
QByteArray frame(const QString& field) {
    const QByteArray payload = field.toUtf8();
    const quint32 n = quint32(payload.size());
    QByteArray out;
    for (int shift = 24; shift >= 0; shift -= 8) out.append(char((n >> shift) & 0xff));
    return out + payload;
}

// The next field of buffer from at, moving at past it; none while it has not all arrived.
std::optional<QString> unframe(const QByteArray& buffer, qsizetype& at) {
    if (buffer.size() - at < 4) return std::nullopt;
    quint32 length = 0;
    for (int i = 0; i < 4; ++i) length = (length << 8) | quint8(buffer.at(at + i));
    if (quint32(buffer.size() - at - 4) < length) return std::nullopt;
    const QString field = QString::fromUtf8(buffer.mid(at + 4, qsizetype(length)));
    at += 4 + qsizetype(length);
    return field;
}

// Plain POSIX, since no application object (and so no event loop) exists yet on this side.
bool sendTo(const QString& path, const QByteArray& message) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
    bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    for (qsizetype sent = 0; ok && sent < message.size();) {
        const ssize_t n = ::write(fd, message.constData() + sent, size_t(message.size() - sent));
        ok = n > 0;
        sent += n;
    }
    QByteArray reply;
    char buffer[16];
    // The answer is enough; the closing may come a moment later.
    for (ssize_t n; ok && reply.size() < 2 && (n = ::read(fd, buffer, sizeof buffer)) > 0;)
        reply.append(buffer, n);
    ::close(fd);
    return ok && reply == "ok";
}

}  // namespace

SingleFolder::Start SingleFolder::claim(const QString& dataDir, const Later& later) {
    const QByteArray message = frame(later.arguments.join(QChar(u'\0'))) + frame(later.activationToken) +
                               frame(later.claudeConfigDir);
    QDir().mkpath(dataDir);
    socketPath_ = socketPathFor(dataDir);
    lock_ = std::make_unique<QLockFile>(QDir(dataDir).filePath(QStringLiteral("SingletonLock")));
    // Only a lock whose process has died is stale, never an old one.
    lock_->setStaleLockTime(0);
    const QDeadlineTimer deadline(kWaitForFirstMs);
    while (!deadline.hasExpired()) {
        if (lock_->tryLock(0)) return Start::First;
        if (lock_->error() != QLockFile::LockFailedError) return Start::Failed;
        if (sendTo(socketPath_, message)) return Start::HandedOver;
        // The holder may still be starting and not listening yet.
        QThread::msleep(kRetryMs);
    }
    return Start::Failed;
}

bool SingleFolder::listen() {
    QLocalServer::removeServer(socketPath_);
    if (!server_.listen(socketPath_)) return false;
    connect(&server_, &QLocalServer::newConnection, this, &SingleFolder::serve);
    return true;
}

void SingleFolder::serve() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        auto buffer = std::make_shared<QByteArray>();
        connect(socket, &QLocalSocket::readyRead, this, [this, socket, buffer] {
            buffer->append(socket->readAll());
            qsizetype at = 0;
            const auto arguments = unframe(*buffer, at);
            const auto token = arguments ? unframe(*buffer, at) : std::nullopt;
            const auto configDir = token ? unframe(*buffer, at) : std::nullopt;
            if (!configDir) return;
            socket->write("ok");
            socket->disconnectFromServer();
            emit secondStart(Later{arguments->split(QChar(u'\0')), *token, *configDir});
        });
    }
}
