#pragma once

#include "platform/Installations.h"
#include "platform/Processes.h"
#include "platform/WindowServer.h"
#include "platform/linux/ExecWatch.h"
#include "platform/linux/ExitWatch.h"
#include "platform/linux/ProcScanner.h"
#include "platform/linux/ProcessLauncher.h"

#include <unistd.h>
#include <QElapsedTimer>
#include <QTimer>
#include <memory>

namespace varrow::platform::linux_ {

struct ProcessesOptions {
    QString procRoot = QStringLiteral("/proc");
    uid_t user = ::getuid();
    bool watch = true;  // look for new processes on a timer
    // Rescan every process on each tick rather than watch exits and look only at new processes:
    // the former way, kept to measure against.
    bool polling = qEnvironmentVariableIsSet("VARROW_BENCH_POLLING");
    // Which installations there are besides bundles; null: none.
    Installations* installations = nullptr;
};

// The process service on Linux: applications are the processes of installations (bundles, or
// what the installations service knows) found in /proc, launches are detached spawns, front state
// comes from the session's window server.
class LinuxProcesses : public Processes {
    Q_OBJECT
public:
    using Options = ProcessesOptions;

    // windows, the session's window server, may be null: then nothing is ever in front.
    explicit LinuxProcesses(WindowServer* windows, Options options = {}, QObject* parent = nullptr);
    ~LinuxProcesses() override;

    // Looks at /proc again and announces launches and terminations.
    void rescan();
    // Whether the former polling way is in use (asked for, or the system has no pidfds).
    bool isPolling() const { return polling_; }

    QList<AppHandle> applications() override;
    AppHandle frontApplication() override;
    AppHandle thisApplication() override;
    void bringToFront(const AppHandle& target) override;
    void launch(const QString& folder, const LaunchOptions& configuration,
                LaunchCompletion completion) override;
    void watchForLaunches(const QStringList& applicationPaths) override;
    // Whether new processes are looked for on a timer now (polling, nothing to watch, or a
    // process still to be looked at again).
    bool isChecking() const { return timer_.isActive(); }
    std::optional<QStringList> processArguments(pid_t pid) override;
    std::optional<quint64> treeCpuMilliseconds(pid_t pid) override;
    std::optional<quint64> treeMemoryBytes(pid_t pid) override;
    bool isTerminated(const RunningApplication& app) override;
    bool isActive(const RunningApplication& app) override;
    bool terminate(const RunningApplication& app) override;
    bool forceTerminate(const RunningApplication& app) override;

private:
    std::optional<pid_t> activePid();
    AppHandle handleFor(pid_t pid);
    void activeWindowChanged();
    bool signal(const RunningApplication& app, int signalNumber);
    void finish(LaunchCompletion completion, Result<AppHandle> opened);
    // Adopts a launched process once its arguments can be read (or it is gone, or the wait is up).
    void settle(pid_t pid, const QString& folder, const QString& name, QElapsedTimer since,
                LaunchCompletion completion);
    void announce(const ProcScanner::Changes& changes);
    // The executable of an application folder (a bundle or an installation); empty when none.
    QString executableOf(const QString& applicationPath);
    // Starts or stops the timed look for new processes: at rest, with every start of the watched
    // executables told by the exec watch, there is none.
    void scheduleChecks();

    WindowServer* windows_;
    const QString procRoot_;
    Installations* installations_;
    ProcScanner scanner_;
    ProcessLauncher launcher_;
    ExitWatch exits_;
    bool polling_ = false;
    QTimer timer_;
    bool watchNew_ = true;  // new processes are looked for at all
    ExecWatch execs_;
    AppHandle self_;
    std::optional<pid_t> lastActive_;
    // Arguments already read, by process. Reading them takes the process's memory-map lock,
    // which a program starting up holds for long stretches; a process keeps its arguments until
    // it runs another program, which changes its command name.
    struct KnownArguments {
        quint64 startTime = 0;
        quint32 nameHash = 0;
        QStringList arguments;
    };
    QHash<pid_t, KnownArguments> arguments_;
};

}  // namespace varrow::platform::linux_
