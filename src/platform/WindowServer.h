#pragma once

#include <sys/types.h>
#include <QObject>
#include <optional>

class QWindow;

namespace varrow::platform {

// Window lists and direct activation by the window server.
class WindowServer : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // The process whose window is active; none when no window is, or its owner cannot be told.
    virtual std::optional<pid_t> activeProcess() = 0;
    // The frontmost normal, visible window of a process; none while it shows no window.
    virtual std::optional<quint32> frontWindow(pid_t pid) = 0;
    // Asks the window server to make the process frontmost with its front window focused.
    // False when the platform offers no such route.
    virtual bool makeFrontmost(pid_t pid) = 0;
    // Asks the compositor itself, through its own command socket, to focus the process's window:
    // for compositors that only mark a window urgent when another program activates it. False
    // when the session has no such route or the compositor refused.
    virtual bool focusThroughCompositor(pid_t pid) { return (void)pid, false; }
    // Marks one of this program's own windows as an overlay: never focused, above other windows,
    // on every desktop and out of the taskbar and pager. Called before the window is first shown.
    virtual void makeOverlay(QWindow* window) = 0;
    // Whether native Wayland windows are seen and brought forward too, not only X11 ones.
    virtual bool seesNativeWindows() const { return false; }
    // Whether switching reaches native Wayland windows whole, the cycle key included, so Claude
    // need not run on Xwayland for it.
    virtual bool switchesNativeWindows() const { return false; }

signals:
    // The active window changed (perhaps to none).
    void activeProcessChanged();
};

}  // namespace varrow::platform
