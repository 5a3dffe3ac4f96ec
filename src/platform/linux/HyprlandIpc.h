#pragma once

#include <sys/types.h>
#include <QByteArray>
#include <QString>
#include <chrono>
#include <optional>

namespace varrow::platform::linux_ {

// Hyprland's request socket ($XDG_RUNTIME_DIR/hypr/$HYPRLAND_INSTANCE_SIGNATURE/.socket.sock):
// one request a connection, answered and closed. It tells which process's window has the focus
// and focuses a process's window, so accounts sharing an app id are still told apart.
class HyprlandIpc {
public:
    // Where the session's Hyprland listens; empty outside Hyprland.
    static QString socketPath();
    static std::optional<pid_t> focusedPid(std::chrono::milliseconds timeout);
    // True only when Hyprland answers "ok".
    static bool focus(pid_t pid, std::chrono::milliseconds timeout);

    // The pid in an "activewindow" answer in JSON; none for no window or anything else.
    static std::optional<pid_t> pidOfActiveWindow(const QByteArray& reply);

private:
    static std::optional<QByteArray> request(const QByteArray& command, std::chrono::milliseconds timeout);
};

}  // namespace varrow::platform::linux_
