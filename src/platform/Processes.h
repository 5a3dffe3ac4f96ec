#pragma once

#include "platform/Result.h"
#include "platform/RunningApplication.h"

#include <QList>
#include <QMap>
#include <QObject>
#include <QStringList>
#include <functional>
#include <optional>

namespace varrow::platform {

// What to start and how, for Processes::launch.
struct LaunchOptions {
    bool activates = true;
    // False: when the installation already runs, ask that instance to show a window (the reopen
    // request).
    bool newInstance = false;
    QStringList arguments;
    // Empty map: inherit this process's environment unchanged.
    QMap<QString, QString> environment;
};

// Called once, on the main thread: the new process, or why it did not start.
using LaunchCompletion = std::function<void(const Result<AppHandle>& opened)>;

// Running applications, activation and launching.
class Processes : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Every application running for this user, in the platform's order.
    virtual QList<AppHandle> applications() = 0;
    virtual AppHandle frontApplication() = 0;
    // This application's own handle.
    virtual AppHandle thisApplication() = 0;
    // Whether one of this application's own windows is active.
    bool isSelfInFront() {
        const AppHandle self = thisApplication();
        return self && isActive(*self);
    }
    // Activates this application, ignoring other applications.
    void bringSelfToFront() { bringToFront(thisApplication()); }
    // Hands activation over to an application, this one included (yield, then activate all its
    // windows).
    virtual void bringToFront(const AppHandle& target) = 0;

    // Starts the installation in a folder (a package or a bundle, as the installations tell).
    virtual void launch(const QString& folder, const LaunchOptions& configuration,
                        LaunchCompletion completion) = 0;

    // The applications whose starts outside this program are worth noticing at once (Claude and
    // the accounts' copies); where the system can tell when they start, nothing is looked for on a
    // timer. Replaces the list given before.
    virtual void watchForLaunches(const QStringList& applicationPaths) { (void)applicationPaths; }

    // The argument vector a process was started with (first element the program as started);
    // none when it cannot be read (gone, or another user's).
    virtual std::optional<QStringList> processArguments(pid_t pid) = 0;

    // A process and every process below it together: CPU time used so far in milliseconds, and
    // proportional memory in bytes; none where the system cannot tell. Safe on any thread.
    virtual std::optional<quint64> treeCpuMilliseconds(pid_t pid) { return (void)pid, std::nullopt; }
    virtual std::optional<quint64> treeMemoryBytes(pid_t pid) { return (void)pid, std::nullopt; }

    virtual bool isTerminated(const RunningApplication& app) = 0;
    virtual bool isActive(const RunningApplication& app) = 0;
    virtual bool terminate(const RunningApplication& app) = 0;
    virtual bool forceTerminate(const RunningApplication& app) = 0;

signals:
    void applicationLaunched(const varrow::platform::AppHandle& app);
    void applicationExited(const varrow::platform::AppHandle& app);
    // The front changed; app is null when nothing is in front or its owner cannot be told.
    void frontApplicationChanged(const varrow::platform::AppHandle& app);
    // This application became active.
    void selfCameToFront();
};

}  // namespace varrow::platform
