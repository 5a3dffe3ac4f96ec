#include "platform/x11/X11WindowServer.h"

#include "platform/linux/CompositorIpc.h"
#include "platform/x11/X11Connection.h"

#include <QGuiApplication>
#include <QWindow>

namespace varrow::platform::x11 {

X11WindowServer::X11WindowServer(std::shared_ptr<X11Connection> x11, QObject* parent)
    : WindowServer(parent), x11_(std::move(x11)), compositor_(linux_::CompositorSocket::forSession()) {
    if (x11_ && x11_->isConnected())
        connect(x11_.get(), &X11Connection::activeWindowChanged, this, [this] {
            activeKnown_ = false;
            emit activeProcessChanged();
        });
}

X11WindowServer::~X11WindowServer() = default;

std::optional<pid_t> X11WindowServer::activeProcess() {
    if (!x11_ || !x11_->isConnected()) return std::nullopt;
    // Asked many times per change (every refresh looks at the front): two round trips each, which
    // wait for a server that is busy just when windows come and go. The answer holds until the
    // window manager says the active window changed; a window whose pid is not set yet is asked
    // again.
    if (activeKnown_) return active_;
    const auto window = x11_->activeWindow();
    const auto pid = window ? x11_->windowPid(*window) : std::nullopt;
    if (!window || pid) {
        active_ = pid;
        activeKnown_ = true;
    }
    return pid;
}

std::optional<quint32> X11WindowServer::frontWindow(pid_t pid) {
    if (!x11_ || pid <= 0) return std::nullopt;
    return x11_->frontWindow(pid);
}

bool X11WindowServer::makeFrontmost(pid_t pid) {
    const auto window = frontWindow(pid);
    return window && x11_->activate(*window);
}

bool X11WindowServer::focusThroughCompositor(pid_t pid) {
    // sway, i3 and Hyprland pick the window by its owner's pid, Xwayland's and native ones alike.
    // Asked without waiting: whether it worked shows in the check that follows.
    if (pid <= 0 || !compositor_) return false;
    compositor_->focus(pid);
    return true;
}

void X11WindowServer::makeOverlay(QWindow* window) {
    // Only a window Qt shows through X has an X window id to mark.
    if (!window || !x11_ || QGuiApplication::platformName() != u"xcb") return;
    // sway and i3 float any window they manage in the middle of the screen and focus it, whatever
    // it asks; left unmanaged it stays where it is put and never takes the focus.
    if (!linux_::CompositorIpc::socketPath().isEmpty())
        window->setFlags(window->flags() | Qt::BypassWindowManagerHint);
    x11_->markOverlay(xcb_window_t(window->winId()));
}

}  // namespace varrow::platform::x11
