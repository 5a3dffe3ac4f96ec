#include "platform/linux/HyprlandIpc.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalSocket>

namespace varrow::platform::linux_ {

namespace {
// The active window's description is a few hundred bytes.
constexpr qsizetype kLargestReply = 1 << 20;
}  // namespace

QString HyprlandIpc::socketPath() {
    const QString signature = qEnvironmentVariable("HYPRLAND_INSTANCE_SIGNATURE");
    // The signature names a folder: anything that could leave it is not one.
    if (signature.isEmpty() || signature.contains(u'/') || signature.startsWith(u'.')) return {};
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    // Releases before 0.40 kept the socket in /tmp.
    for (const QString& base :
         {runtime.isEmpty() ? QString() : runtime + QStringLiteral("/hypr"), QStringLiteral("/tmp/hypr")}) {
        if (base.isEmpty()) continue;
        const QString path = QStringLiteral("%1/%2/.socket.sock").arg(base, signature);
        if (QFileInfo::exists(path)) return path;
    }
    return {};
}

std::optional<QByteArray> HyprlandIpc::request(const QByteArray& command, std::chrono::milliseconds timeout) {
    const QString path = socketPath();
    if (path.isEmpty()) return std::nullopt;
    const QDeadlineTimer deadline(timeout);
    QLocalSocket socket;
    socket.connectToServer(path);
    if (!socket.waitForConnected(int(deadline.remainingTime()))) return std::nullopt;
    socket.write(command);
    if (!socket.waitForBytesWritten(int(deadline.remainingTime()))) return std::nullopt;
    QByteArray reply;
    // The answer ends where Hyprland closes the connection.
    while (socket.state() == QLocalSocket::ConnectedState && !deadline.hasExpired()) {
        if (!socket.waitForReadyRead(int(deadline.remainingTime()))) break;
        reply += socket.readAll();
        if (reply.size() > kLargestReply) return std::nullopt;
    }
    reply += socket.readAll();
    if (socket.state() == QLocalSocket::ConnectedState) return std::nullopt;  // cut off by the deadline
    return reply;
}

std::optional<pid_t> HyprlandIpc::pidOfActiveWindow(const QByteArray& reply) {
    const QJsonDocument document = QJsonDocument::fromJson(reply);
    if (!document.isObject()) return std::nullopt;
    const double pid = document.object().value(QLatin1String("pid")).toDouble();
    return pid >= 1 && pid <= 4194304 ? std::optional<pid_t>(pid_t(pid)) : std::nullopt;
}

std::optional<pid_t> HyprlandIpc::focusedPid(std::chrono::milliseconds timeout) {
    const auto reply = request("j/activewindow", timeout);
    return reply ? pidOfActiveWindow(*reply) : std::nullopt;
}

bool HyprlandIpc::focus(pid_t pid, std::chrono::milliseconds timeout) {
    if (pid <= 0) return false;
    const auto reply = request("dispatch focuswindow pid:" + QByteArray::number(pid), timeout);
    return reply && reply->trimmed() == "ok";
}

}  // namespace varrow::platform::linux_
