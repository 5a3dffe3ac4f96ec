#pragma once

#include "platform/WindowServer.h"
#include "platform/gnome/ExtensionLink.h"

#include <QSet>
#include <memory>

namespace varrow::platform::gnome {

// GNOME Shell's windows through Varrow's extension, native Wayland and X11 alike: mutter tells no
// other program which window is in front or lets one activate another's window. While the
// extension does not answer (not loaded until the next login, extensions turned off, the shell
// restarting), Xwayland's answers stand, as they did before it.
class GnomeWindowServer : public WindowServer {
    Q_OBJECT
public:
    GnomeWindowServer(std::unique_ptr<WindowServer> xwayland, std::shared_ptr<ExtensionLink> link);

    std::optional<pid_t> activeProcess() override;
    std::optional<quint32> frontWindow(pid_t pid) override;
    bool makeFrontmost(pid_t pid) override;
    void makeOverlay(QWindow* window) override;
    bool seesNativeWindows() const override { return link_->isAvailable(); }
    bool switchesNativeWindows() const override { return link_->isAvailable(); }

    // The processes whose windows count (the running Claudes); the extension holds the keys while
    // one of them is in front.
    void watchProcesses(const QList<pid_t>& pids) { link_->watch(pids); }

private:
    void focused(pid_t pid);

    std::unique_ptr<WindowServer> xwayland_;
    std::shared_ptr<ExtensionLink> link_;
    bool reported_ = false;  // the extension has named the focus since it last appeared
    pid_t active_ = 0;
    QSet<pid_t> withWindows_;
};

}  // namespace varrow::platform::gnome
