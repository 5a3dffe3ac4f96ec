#include "app/SingleInstance.h"

#include "platform/SystemLog.h"

#include <unistd.h>
#include <QCryptographicHash>
#include <QDir>
#include <QLocalSocket>
#include <QPointer>
#include <QStandardPaths>

namespace varrow::app {

namespace {

constexpr qint64 kMaxRequest = 4096;

// Requests are "command<TAB>argument\n"; names may contain spaces but never tabs or line breaks.
QByteArray encode(const QString& command, const QString& argument) {
    QString line = command;
    if (!argument.isEmpty()) line += QLatin1Char('\t') + argument;
    return line.toUtf8() + '\n';
}

}  // namespace

QString SingleInstance::socketPath(const QString& homeFolder) {
    QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty()) runtime = QDir::tempPath();
    const QByteArray key = QDir::cleanPath(QDir(homeFolder).absolutePath()).toUtf8();
    const QByteArray hash = QCryptographicHash::hash(key, QCryptographicHash::Sha256).toHex().left(16);
    return QDir(runtime).filePath(
        QStringLiteral("varrow-%1-%2").arg(::getuid()).arg(QString::fromLatin1(hash)));
}

SingleInstance::SingleInstance(const QString& homeFolder, QObject* parent)
    : QObject(parent), path_(socketPath(homeFolder)) {
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::serve);
}

SingleInstance::~SingleInstance() {
    server_.close();
    if (lock_) lock_->unlock();
}

bool SingleInstance::acquire() {
    lock_ = std::make_unique<QLockFile>(path_ + QStringLiteral(".lock"));
    // Never stale by age: only a lock whose process has died is taken over.
    lock_->setStaleLockTime(0);
    if (!lock_->tryLock(0)) {
        if (lock_->error() == QLockFile::LockFailedError) return false;
        // The folder is not writable: better to run unguarded than not at all.
        platform::SystemLog::write(QStringLiteral("Varrow: cannot create the lock %1").arg(path_));
    }
    // We hold the lock, so a socket file left behind belongs to a process that is gone.
    QLocalServer::removeServer(path_);
    if (!server_.listen(path_))
        platform::SystemLog::write(
            QStringLiteral("Varrow: cannot listen on %1: %2").arg(path_, server_.errorString()));
    return true;
}

void SingleInstance::serve() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine()) {
                if (socket->bytesAvailable() > kMaxRequest) socket->abort();
                return;
            }
            const QString line = QString::fromUtf8(socket->readLine(kMaxRequest)).trimmed();
            const qsizetype tab = line.indexOf(QLatin1Char('\t'));
            const QString command = tab < 0 ? line : line.left(tab);
            const QString argument = tab < 0 ? QString() : line.mid(tab + 1);
            const std::optional<QString> reply = handler_ ? handler_(command, argument) : std::nullopt;
            socket->write(reply ? reply->toUtf8() : QByteArray("unknown command\n"));
            socket->flush();
            socket->disconnectFromServer();
        });
    }
}

std::optional<QString> SingleInstance::send(const QString& homeFolder, const QString& command,
                                            const QString& argument, int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(socketPath(homeFolder));
    if (!socket.waitForConnected(timeoutMs)) return std::nullopt;
    socket.write(encode(command, argument));
    if (!socket.waitForBytesWritten(timeoutMs)) return std::nullopt;
    QByteArray reply;
    while (socket.state() == QLocalSocket::ConnectedState && socket.waitForReadyRead(timeoutMs))
        reply += socket.readAll();
    reply += socket.readAll();
    return QString::fromUtf8(reply);
}

}  // namespace varrow::app
