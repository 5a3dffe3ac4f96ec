#include "platform/linux/CompositorIpc.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstring>

namespace varrow::platform::linux_ {

namespace {

constexpr char kMagic[] = {'i', '3', '-', 'i', 'p', 'c'};
constexpr qsizetype kHeader = sizeof kMagic + 2 * sizeof(quint32);
// A command's answer is a short list and a tree a few hundred kilobytes; anything far larger is
// not one.
constexpr quint32 kLargestReply = 16u << 20;

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

std::optional<CompositorIpc::Message> CompositorIpc::takeMessage(QByteArray& buffer, bool* broken) {
    *broken = false;
    if (buffer.size() < kHeader) return std::nullopt;
    quint32 length = 0;
    Message message;
    std::memcpy(&length, buffer.constData() + sizeof kMagic, sizeof length);
    std::memcpy(&message.type, buffer.constData() + sizeof kMagic + sizeof length, sizeof message.type);
    if (std::memcmp(buffer.constData(), kMagic, sizeof kMagic) != 0 || length > kLargestReply) {
        *broken = true;
        return std::nullopt;
    }
    if (buffer.size() < kHeader + qsizetype(length)) return std::nullopt;
    message.payload = buffer.mid(kHeader, qsizetype(length));
    buffer.remove(0, kHeader + qsizetype(length));
    return message;
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
