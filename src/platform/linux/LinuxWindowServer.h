#pragma once

#include "platform/WindowServer.h"

#include <memory>

namespace varrow::platform::linux_ {

class LinuxX11;

// Window lists and activation through the EWMH window manager.
class LinuxWindowServer : public WindowServer {
    Q_OBJECT
public:
    explicit LinuxWindowServer(std::shared_ptr<LinuxX11> x11, QObject* parent = nullptr);

    std::optional<quint32> frontWindow(pid_t pid) override;
    bool makeFrontmost(pid_t pid) override;
    void makeOverlay(QWindow* window) override;

private:
    std::shared_ptr<LinuxX11> x11_;
};

}  // namespace varrow::platform::linux_
