#pragma once

#include "platform/WindowServer.h"

#include <QHash>
#include <functional>

namespace varrow::platform::fake {

class FakeWindowServer : public WindowServer {
    Q_OBJECT
public:
    using WindowServer::WindowServer;

    QHash<pid_t, quint32> windows;  // pid -> front window number
    bool available = true;          // false: makeFrontmost reports no route
    std::function<void(pid_t)> onMakeFrontmost;
    QList<pid_t> frontRequests;
    QList<QWindow*> overlays;

    std::optional<pid_t> activeProcess() override { return std::nullopt; }
    std::optional<quint32> frontWindow(pid_t pid) override {
        if (!windows.contains(pid)) return std::nullopt;
        return windows.value(pid);
    }
    bool makeFrontmost(pid_t pid) override {
        frontRequests.append(pid);
        if (!available) return false;
        if (onMakeFrontmost) onMakeFrontmost(pid);
        return true;
    }
    // Set: the session's compositor takes focus commands and this runs for each.
    std::function<void(pid_t)> onCompositorFocus;
    bool focusThroughCompositor(pid_t pid) override {
        if (!onCompositorFocus) return false;
        onCompositorFocus(pid);
        return true;
    }
    void makeOverlay(QWindow* window) override { overlays.append(window); }
};

}  // namespace varrow::platform::fake
