#pragma once

#include <sys/types.h>
#include <xcb/xcb.h>
#include <xcb/xcb_ewmh.h>
#include <QObject>
#include <optional>

class QSocketNotifier;

namespace varrow::platform::x11 {

// One private X connection shared by the process service, the window server and the hot keys. Events
// arrive through a socket notifier on the connection (no polling); without a display every query
// answers "nothing".
class X11Connection : public QObject {
    Q_OBJECT
public:
    // Connects to $DISPLAY (or the given display name).
    explicit X11Connection(const QByteArray& display = {}, QObject* parent = nullptr);
    ~X11Connection() override;

    bool isConnected() const { return connection_ != nullptr; }
    xcb_connection_t* connection() const { return connection_; }
    xcb_window_t root() const { return root_; }
    // The XKB id of the core keyboard; none when the server has no XKB.
    std::optional<qint32> keyboardDevice() const { return keyboard_; }

    // The window in _NET_ACTIVE_WINDOW; none when nothing is active.
    std::optional<xcb_window_t> activeWindow();
    // The process that owns a window (_NET_WM_PID).
    std::optional<pid_t> windowPid(xcb_window_t window);
    // The topmost normal, viewable window of a process, from _NET_CLIENT_LIST_STACKING.
    std::optional<xcb_window_t> frontWindow(pid_t pid);
    // Asks the window manager to activate a window, as a pager would (source indication 2).
    bool activate(xcb_window_t window);
    // Skip-taskbar, skip-pager, sticky and above, and every desktop, on a window not yet mapped.
    // Waits until the server has them, so a map sent on another connection comes after.
    bool markOverlay(xcb_window_t window);

    // Handles whatever the connection has queued; also runs before the event loop sleeps.
    void dispatchPending();
    // Waiting for a reply may pull events off the socket, where the notifier no longer sees them:
    // every round trip queues a pass over them.
    void drainSoon();

signals:
    void activeWindowChanged();
    void keyEvent(bool pressed, quint8 keycode, quint16 state, quint32 time);
    // The keyboard map, its key names or the active layout changed (a layout switch, a new or
    // remote keyboard, setxkbmap).
    void keyboardChanged();

private:
    void handle(xcb_generic_event_t* event);
    void disconnectBroken();
    void watchKeyboard();

    xcb_connection_t* connection_ = nullptr;
    xcb_ewmh_connection_t ewmh_{};
    int screen_ = 0;
    xcb_window_t root_ = XCB_NONE;
    QSocketNotifier* notifier_ = nullptr;
    bool drainQueued_ = false;
    std::optional<qint32> keyboard_;
    quint8 xkbEvent_ = 0;
};

}  // namespace varrow::platform::x11
