#pragma once

#include <sys/types.h>
#include <QObject>
#include <memory>
#include <optional>

namespace varrow::platform::linux_ {

// The session compositor's own sockets, where it has them (sway and i3; Hyprland): which
// process's window has the focus, by the compositor's word, and focusing a process's window where
// the compositor ignores other programs' activation requests. Read on the main loop as the
// compositor writes; nothing here waits for an answer.
class CompositorSocket : public QObject {
    Q_OBJECT
public:
    // The session's compositor's; none when it has no such socket.
    static std::unique_ptr<CompositorSocket> forSession(QObject* parent = nullptr);

    using QObject::QObject;

    // Starts following the focus; focusedPid() is none until the compositor has answered.
    virtual void watchFocus() = 0;
    // The focused window's process as the compositor last said; none for no window, or a window
    // of no process it names.
    std::optional<pid_t> focusedPid() const { return focused_; }
    // Asks the compositor to focus the process's most recent window. The answer comes later: a
    // refusal is written to the system log.
    virtual void focus(pid_t pid) = 0;

signals:
    void focusChanged();

protected:
    void setFocused(std::optional<pid_t> pid);
    static std::optional<pid_t> validPid(double value);

private:
    std::optional<pid_t> focused_;
};

}  // namespace varrow::platform::linux_
