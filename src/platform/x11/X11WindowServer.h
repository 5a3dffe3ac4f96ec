#pragma once

#include "platform/WindowServer.h"

#include <memory>

namespace varrow::platform::x11 {

class X11Connection;

// Window lists, the active window and activation through the EWMH window manager.
class X11WindowServer : public WindowServer {
    Q_OBJECT
public:
    explicit X11WindowServer(std::shared_ptr<X11Connection> x11, QObject* parent = nullptr);

    std::optional<pid_t> activeProcess() override;
    std::optional<quint32> frontWindow(pid_t pid) override;
    bool makeFrontmost(pid_t pid) override;
    bool focusThroughCompositor(pid_t pid) override;
    void makeOverlay(QWindow* window) override;

private:
    std::shared_ptr<X11Connection> x11_;
};

}  // namespace varrow::platform::x11
