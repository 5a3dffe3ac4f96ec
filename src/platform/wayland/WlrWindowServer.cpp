#include "platform/wayland/WlrWindowServer.h"

#include "platform/wayland/ForeignToplevels.h"

#include <QWindow>

namespace varrow::platform::wayland {

WlrWindowServer::WlrWindowServer(std::unique_ptr<ForeignToplevels> toplevels,
                                 std::unique_ptr<WindowServer> xwayland, Owners owners, QObject* parent)
    : WindowServer(parent),
      toplevels_(std::move(toplevels)),
      xwayland_(std::move(xwayland)),
      owners_(std::move(owners)),
      compositor_(linux_::CompositorSocket::forSession()) {
    connect(toplevels_.get(), &ForeignToplevels::changed, this, &WindowServer::activeProcessChanged);
    if (compositor_) {
        // Its word may come after the toplevel's change: whoever asked then asks again.
        connect(compositor_.get(), &linux_::CompositorSocket::focusChanged, this,
                &WindowServer::activeProcessChanged);
        compositor_->watchFocus();
    }
    connect(xwayland_.get(), &WindowServer::activeProcessChanged, this, &WindowServer::activeProcessChanged);
}

WlrWindowServer::~WlrWindowServer() = default;

std::optional<pid_t> WlrWindowServer::activeProcess() {
    if (const auto window = toplevels_->activated()) {
        // The compositor's own word on whose window it is, where it gives one; app ids are
        // shared by every copy of an application that names its windows itself.
        if (compositor_)
            if (const auto pid = compositor_->focusedPid()) return pid;
        if (const auto pid = ownerOf(owners_(), window->appId)) return pid;
    }
    // An X11 window (this program's own, say) is told by Xwayland; with a native window in front
    // Xwayland has no active window, and a native window that is no known process's has no owner.
    return xwayland_->activeProcess();
}

std::optional<pid_t> WlrWindowServer::ownerOf(const QList<Owner>& owners, const QString& appId) {
    // Two processes whose windows carry the same app id cannot be told apart: neither is named.
    std::optional<pid_t> found;
    for (const Owner& owner : owners) {
        if (!owner.appIds.contains(appId)) continue;
        if (found && *found != owner.pid) return std::nullopt;
        found = owner.pid;
    }
    return found;
}

std::optional<quint32> WlrWindowServer::nativeWindow(pid_t pid) const {
    const QList<Owner> owners = owners_();
    std::optional<ForeignToplevels::Toplevel> best;
    for (const ForeignToplevels::Toplevel& window : toplevels_->toplevels())
        if (ownerOf(owners, window.appId) == pid && (!best || window.lastActivated > best->lastActivated))
            best = window;
    return best ? std::optional<quint32>(best->id) : std::nullopt;
}

std::optional<quint32> WlrWindowServer::frontWindow(pid_t pid) {
    if (pid <= 0) return std::nullopt;
    if (const auto window = nativeWindow(pid)) return window;
    return xwayland_->frontWindow(pid);
}

bool WlrWindowServer::makeFrontmost(pid_t pid) {
    if (pid <= 0) return false;
    if (const auto window = nativeWindow(pid)) return toplevels_->activate(*window);
    return xwayland_->makeFrontmost(pid);
}

bool WlrWindowServer::focusThroughCompositor(pid_t pid) {
    return xwayland_->focusThroughCompositor(pid);
}

void WlrWindowServer::makeOverlay(QWindow* window) {
    // This program's own windows are X11 windows on Xwayland. wlroots compositors float a managed
    // one in the middle of the screen and focus it, whatever it asks; left unmanaged it stays
    // where it is put and never takes the focus.
    if (window) window->setFlags(window->flags() | Qt::BypassWindowManagerHint);
    xwayland_->makeOverlay(window);
}

}  // namespace varrow::platform::wayland
