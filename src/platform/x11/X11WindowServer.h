#pragma once

#include "platform/WindowServer.h"
#include "platform/linux/CompositorSocket.h"

#include <memory>

namespace varrow::platform::x11 {

class X11Connection;

// Window lists, the active window and activation through the EWMH window manager.
class X11WindowServer : public WindowServer {
    Q_OBJECT
public:
    explicit X11WindowServer(std::shared_ptr<X11Connection> x11, QObject* parent = nullptr);
    ~X11WindowServer() override;

    std::optional<pid_t> activeProcess() override;
    std::optional<quint32> frontWindow(pid_t pid) override;
    bool makeFrontmost(pid_t pid) override;
    bool focusThroughCompositor(pid_t pid) override;
    void makeOverlay(QWindow* window) override;

private:
    std::shared_ptr<X11Connection> x11_;
    std::unique_ptr<linux_::CompositorSocket> compositor_;  // none where the compositor has no socket
    std::optional<pid_t> active_;
    bool activeKnown_ = false;
};

}  // namespace varrow::platform::x11
