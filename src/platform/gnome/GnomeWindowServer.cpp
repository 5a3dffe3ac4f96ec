#include "platform/gnome/GnomeWindowServer.h"

namespace varrow::platform::gnome {

GnomeWindowServer::GnomeWindowServer(std::unique_ptr<WindowServer> xwayland,
                                     std::shared_ptr<ExtensionLink> link)
    : xwayland_(std::move(xwayland)), link_(std::move(link)) {
    connect(xwayland_.get(), &WindowServer::activeProcessChanged, this, [this] {
        if (!reported_) emit activeProcessChanged();
    });
    connect(link_.get(), &ExtensionLink::availabilityChanged, this, [this] {
        if (link_->isAvailable()) return;  // its first report of the focus follows
        reported_ = false;
        active_ = 0;
        withWindows_.clear();
        emit activeProcessChanged();
    });
    connect(link_.get(), &ExtensionLink::focusChanged, this, &GnomeWindowServer::focused);
    connect(link_.get(), &ExtensionLink::windowsChanged, this,
            [this](const QSet<pid_t>& withWindows) { withWindows_ = withWindows; });
}

void GnomeWindowServer::focused(pid_t pid) {
    const bool first = !reported_;
    reported_ = true;
    if (!first && pid == active_) return;
    active_ = pid;
    emit activeProcessChanged();
}

std::optional<pid_t> GnomeWindowServer::activeProcess() {
    if (!reported_) return xwayland_->activeProcess();
    return active_ > 0 ? std::optional<pid_t>(active_) : std::nullopt;
}

std::optional<quint32> GnomeWindowServer::frontWindow(pid_t pid) {
    if (pid <= 0) return std::nullopt;
    // Only whether there is one matters to callers: the pid stands for its window.
    if (reported_ && withWindows_.contains(pid)) return quint32(pid);
    return xwayland_->frontWindow(pid);
}

bool GnomeWindowServer::makeFrontmost(pid_t pid) {
    if (pid <= 0) return false;
    if (!link_->isAvailable()) return xwayland_->makeFrontmost(pid);
    link_->activate(pid);
    return true;
}

void GnomeWindowServer::makeOverlay(QWindow* window) {
    xwayland_->makeOverlay(window);
}

}  // namespace varrow::platform::gnome
