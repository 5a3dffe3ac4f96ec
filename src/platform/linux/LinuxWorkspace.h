#pragma once

#include "platform/Workspace.h"
#include "platform/linux/BundleIcons.h"
#include "platform/linux/ProcScanner.h"
#include "platform/linux/ProcessLauncher.h"

#include <unistd.h>
#include <QTimer>
#include <memory>

namespace varrow::platform::linux_ {

class LinuxX11;

struct WorkspaceOptions {
    QString procRoot = QStringLiteral("/proc");
    uid_t user = ::getuid();
    QString gio = QStringLiteral("/usr/bin/gio");
    bool watch = true;  // rescan on a timer
};

// The application workspace on Linux: applications are bundle processes found in /proc, launches
// are detached spawns, front state comes from the X window manager (EWMH).
class LinuxWorkspace : public Workspace {
    Q_OBJECT
public:
    using Options = WorkspaceOptions;

    // x11 may be null or unconnected: then nothing is ever in front.
    explicit LinuxWorkspace(std::shared_ptr<LinuxX11> x11, Options options = {}, QObject* parent = nullptr);
    ~LinuxWorkspace() override;

    // Reads /proc again and announces launches and terminations.
    void rescan();

    QList<AppHandle> runningApplications() override;
    AppHandle frontmostApplication() override;
    AppHandle currentApplication() override;
    bool isSelfActive() override;
    void activateSelf() override;
    void handOver(const AppHandle& target) override;
    QString urlForApplication(const QString& bundleIdentifier) override;
    void openApplication(const QString& bundlePath, const OpenConfiguration& configuration,
                         OpenCompletion completion) override;
    std::optional<QStringList> processArguments(pid_t pid) override;
    bool isTerminated(const RunningApplication& app) override;
    bool isActive(const RunningApplication& app) override;
    bool terminate(const RunningApplication& app) override;
    bool forceTerminate(const RunningApplication& app) override;
    bool setIcon(const QImage& image, const QString& path) override;
    QImage iconForFile(const QString& path, int pixels) override;
    bool isNativeInstallation(const QString& appPath) override;
    QString nativeVersion(const QString& appPath) override;
    QString copyApplication(const QString& from, const QString& to) override;
    QStringList copyLaunchArguments(const QString& copyPath) override;
    void copyReady(const QString& copyPath, const QString& accountName, const QString& iconPath) override;
    void copyRemoved(const QString& copyPath) override;
    void pruneCopyEntries(const QString& appsDir) override;
    bool openUrl(const QUrl& url) override;
    bool revealInFileViewer(const QString& path) override;

private:
    std::optional<pid_t> activePid();
    AppHandle handleFor(pid_t pid);
    void activeWindowChanged();
    bool signal(const RunningApplication& app, int signalNumber);
    void finish(OpenCompletion completion, AppHandle app, QString error);

    std::shared_ptr<LinuxX11> x11_;
    ProcScanner scanner_;
    ProcessLauncher launcher_;
    BundleIcons icons_;
    QTimer timer_;
    AppHandle self_;
    std::optional<pid_t> lastActive_;
};

}  // namespace varrow::platform::linux_
