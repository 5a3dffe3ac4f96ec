#pragma once

#include "platform/WindowServer.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QSet>
#include <QString>
#include <memory>

class QTemporaryDir;

namespace varrow::platform::kde {

// The window server of KDE Plasma's KWin on Wayland, through its scripting interface: a script
// loaded into KWin reports each activation and the processes with windows, with their pids, to
// this object on the session bus, and a one-shot script activates a process's top window on
// request. Native Wayland windows and X11 ones alike; this program's own overlay windows stay X11's.
class KWinWindowServer : public WindowServer, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.varrow.KWinWindows")
public:
    // KWin's window server over Xwayland's, its reporting script running; Xwayland's own when KWin
    // is not on the session bus or does not take the script.
    static std::unique_ptr<WindowServer> over(std::unique_ptr<WindowServer> xwayland);
    ~KWinWindowServer() override;

    std::optional<pid_t> activeProcess() override;
    std::optional<quint32> frontWindow(pid_t pid) override;
    bool makeFrontmost(pid_t pid) override;
    void makeOverlay(QWindow* window) override;
    bool seesNativeWindows() const override { return true; }

    // The reporting script's text, for a receiver on this bus connection.
    static QString reportingScript(const QString& service);
    static QString activationScript(pid_t pid);

public slots:
    // Called by the reporting script: the pid owning the active window ("0" for none) and the
    // pids owning normal windows, separated by spaces. Calls from anyone but KWin are ignored.
    Q_SCRIPTABLE void activated(const QString& pid);
    Q_SCRIPTABLE void windows(const QString& pids);

private:
    explicit KWinWindowServer(std::unique_ptr<WindowServer> xwayland);
    // The script's text in a file of its own; empty when it cannot be written.
    QString writeScript(const QString& text);
    bool loadScript(const QString& text, const QString& pluginName);
    bool fromKWin() const;
    void unloadScript(const QString& pluginName);

    std::unique_ptr<WindowServer> xwayland_;
    QDBusConnection bus_;
    QString kwin_;  // KWin's unique name on the bus
    std::unique_ptr<QTemporaryDir> scripts_;
    int scriptCount_ = 0;
    QString activation_;     // the plugin name of the last activation's script
    bool reported_ = false;  // the script has spoken at least once
    pid_t active_ = 0;
    QSet<pid_t> withWindows_;
};

}  // namespace varrow::platform::kde
