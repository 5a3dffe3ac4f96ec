#pragma once

#include <QByteArray>
#include <QString>
#include <chrono>
#include <optional>

namespace varrow::platform::linux_ {

// The command socket of sway, and of i3, which speaks the same protocol ($SWAYSOCK, else
// $I3SOCK): where the compositor ignores other programs' activation requests, it still focuses a
// window when its own command asks for it.
class CompositorIpc {
public:
    // Where the session's compositor listens; empty when it has no such socket.
    static QString socketPath();
    // Runs one command ("[pid=42] focus"). True only when the compositor answers that every part
    // of it succeeded; false when there is no socket, no answer in time, or a failure.
    static bool run(const QString& command, std::chrono::milliseconds timeout);

    // One message: "i3-ipc", the payload's length and the message type (both 32 bits, in the
    // machine's byte order), then the payload.
    static QByteArray encode(quint32 type, const QByteArray& payload);
    // Whether a reply to a command ("[{"success":true},…]") says every part succeeded; none when
    // it is not such a reply.
    static std::optional<bool> succeeded(const QByteArray& payload);

    static constexpr quint32 kRunCommand = 0;
};

}  // namespace varrow::platform::linux_
