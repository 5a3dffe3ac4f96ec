#pragma once

#include <sys/types.h>
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
    // The process whose window has the focus, by the compositor's own word; none when there is
    // no socket, no answer in time, or no focused window with a process.
    static std::optional<pid_t> focusedPid(std::chrono::milliseconds timeout);
    // The focused window's pid in a tree as GET_TREE answers it.
    static std::optional<pid_t> focusedPidIn(const QByteArray& tree);

    // One message: "i3-ipc", the payload's length and the message type (both 32 bits, in the
    // machine's byte order), then the payload.
    static QByteArray encode(quint32 type, const QByteArray& payload);
    // Whether a reply to a command ("[{"success":true},…]") says every part succeeded; none when
    // it is not such a reply.
    static std::optional<bool> succeeded(const QByteArray& payload);

    static constexpr quint32 kRunCommand = 0;
    static constexpr quint32 kGetTree = 4;

private:
    // One request and its reply's payload; none on any failure.
    static std::optional<QByteArray> request(quint32 type, const QByteArray& payload,
                                             std::chrono::milliseconds timeout);
};

}  // namespace varrow::platform::linux_
