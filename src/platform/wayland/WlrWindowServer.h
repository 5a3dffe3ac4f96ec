#pragma once

#include "platform/WindowServer.h"
#include "platform/linux/CompositorSocket.h"

#include <QList>
#include <QStringList>
#include <functional>
#include <memory>

namespace varrow::platform::wayland {

class ForeignToplevels;

// The window server of a wlroots compositor: native Wayland windows through the compositor's
// toplevel list, told apart by their process where the compositor's socket says it and by their
// app id elsewhere, and X11 windows (this program's own among them)
// through Xwayland as before.
class WlrWindowServer : public WindowServer {
    Q_OBJECT
public:
    // An application process and the app ids its windows carry.
    struct Owner {
        pid_t pid = 0;
        QStringList appIds;
    };
    // The processes whose windows may be asked for; read at each question, as they come and go.
    using Owners = std::function<QList<Owner>()>;

    WlrWindowServer(std::unique_ptr<ForeignToplevels> toplevels, std::unique_ptr<WindowServer> xwayland,
                    Owners owners, QObject* parent = nullptr);
    ~WlrWindowServer() override;

    std::optional<pid_t> activeProcess() override;
    std::optional<quint32> frontWindow(pid_t pid) override;
    bool makeFrontmost(pid_t pid) override;
    bool focusThroughCompositor(pid_t pid) override;
    void makeOverlay(QWindow* window) override;
    bool seesNativeWindows() const override { return true; }

    // The one process whose windows carry this app id; none when no process's or several's do.
    static std::optional<pid_t> ownerOf(const QList<Owner>& owners, const QString& appId);

private:
    // The most recently active native window of the process; none when it shows none.
    std::optional<quint32> nativeWindow(pid_t pid) const;

    std::unique_ptr<ForeignToplevels> toplevels_;
    std::unique_ptr<WindowServer> xwayland_;
    Owners owners_;
    // The focused window's process by the compositor's word, where it has a socket (sway,
    // Hyprland): app ids are shared by every copy of an application that names its windows itself.
    std::unique_ptr<linux_::CompositorSocket> compositor_;
};

}  // namespace varrow::platform::wayland
