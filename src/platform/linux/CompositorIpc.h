#pragma once

#include <sys/types.h>
#include <QByteArray>
#include <QString>
#include <optional>

namespace varrow::platform::linux_ {

// The messages of sway's socket, and of i3's, which speaks the same protocol ($SWAYSOCK, else
// $I3SOCK): commands, the window tree, and events subscribed to.
class CompositorIpc {
public:
    // Where the session's compositor listens; empty when it has no such socket.
    static QString socketPath();
    // The focused window's pid in a tree as GET_TREE answers it.
    static std::optional<pid_t> focusedPidIn(const QByteArray& tree);

    // One message: "i3-ipc", the payload's length and the message type (both 32 bits, in the
    // machine's byte order), then the payload.
    static QByteArray encode(quint32 type, const QByteArray& payload);
    // Whether a reply to a command ("[{"success":true},…]") says every part succeeded; none when
    // it is not such a reply.
    static std::optional<bool> succeeded(const QByteArray& payload);

    struct Message {
        quint32 type = 0;
        QByteArray payload;
    };
    // Takes the first whole message off the front of what was read; none while it is incomplete.
    // *broken is set when the bytes are no message of this protocol.
    static std::optional<Message> takeMessage(QByteArray& buffer, bool* broken);

    static constexpr quint32 kRunCommand = 0;
    static constexpr quint32 kSubscribe = 2;
    static constexpr quint32 kGetTree = 4;
    // Events carry the high bit.
    static constexpr quint32 kWorkspaceEvent = 0x80000000u;
    static constexpr quint32 kWindowEvent = 0x80000003u;
};

}  // namespace varrow::platform::linux_
