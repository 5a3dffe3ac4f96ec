#include "platform/linux/HyprlandIpc.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

namespace varrow::platform::linux_ {

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

QString HyprlandIpc::eventSocketPath() {
    const QString requests = socketPath();
    return requests.isEmpty() ? QString()
                              : QFileInfo(requests).dir().filePath(QStringLiteral(".socket2.sock"));
}

bool HyprlandIpc::movesFocus(const QByteArray& line) {
    // The focused window changes, or the window in front goes away.
    return line.startsWith("activewindowv2>>") || line.startsWith("closewindow>>") ||
           line.startsWith("workspacev2>>");
}

std::optional<pid_t> HyprlandIpc::pidOfActiveWindow(const QByteArray& reply) {
    const QJsonDocument document = QJsonDocument::fromJson(reply);
    if (!document.isObject()) return std::nullopt;
    const double pid = document.object().value(QLatin1String("pid")).toDouble();
    return pid >= 1 && pid <= 4194304 ? std::optional<pid_t>(pid_t(pid)) : std::nullopt;
}

}  // namespace varrow::platform::linux_
