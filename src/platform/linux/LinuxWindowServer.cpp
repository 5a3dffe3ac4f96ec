#include "platform/linux/LinuxWindowServer.h"

#include "platform/linux/LinuxX11.h"

#include <QGuiApplication>
#include <QWindow>

namespace varrow::platform::linux_ {

LinuxWindowServer::LinuxWindowServer(std::shared_ptr<LinuxX11> x11, QObject* parent)
    : WindowServer(parent), x11_(std::move(x11)) {}

std::optional<quint32> LinuxWindowServer::frontWindow(pid_t pid) {
    if (!x11_ || pid <= 0) return std::nullopt;
    return x11_->frontWindow(pid);
}

bool LinuxWindowServer::makeFrontmost(pid_t pid) {
    const auto window = frontWindow(pid);
    return window && x11_->activate(*window);
}

void LinuxWindowServer::makeOverlay(QWindow* window) {
    // Only a window Qt shows through X has an X window id to mark.
    if (!window || !x11_ || QGuiApplication::platformName() != u"xcb") return;
    x11_->markOverlay(xcb_window_t(window->winId()));
}

}  // namespace varrow::platform::linux_
