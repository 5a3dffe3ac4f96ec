#pragma once

#include <sys/types.h>
#include <QByteArray>
#include <QString>
#include <optional>

namespace varrow::platform::linux_ {

// Hyprland's sockets ($XDG_RUNTIME_DIR/hypr/$HYPRLAND_INSTANCE_SIGNATURE/): requests on
// .socket.sock, one a connection, answered and closed; events on .socket2.sock, a line each.
class HyprlandIpc {
public:
    // Where the session's Hyprland takes requests; empty outside Hyprland.
    static QString socketPath();
    // Where it tells its events, beside the request socket.
    static QString eventSocketPath();
    // The pid in an "activewindow" answer in JSON; none for no window or anything else.
    static std::optional<pid_t> pidOfActiveWindow(const QByteArray& reply);
    // Whether an event line ("activewindowv2>>5a2b") may have moved the focus.
    static bool movesFocus(const QByteArray& line);
};

}  // namespace varrow::platform::linux_
