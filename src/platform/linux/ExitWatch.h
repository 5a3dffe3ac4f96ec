#pragma once

#include "platform/RunningApplication.h"

#include <sys/types.h>
#include <QHash>
#include <QObject>

class QSocketNotifier;

namespace varrow::platform::linux_ {

// Tells at once when a watched process ends, through a pidfd per process (any process of the
// user, not only children), so nothing has to look for exits.
class ExitWatch : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~ExitWatch() override;

    // A descriptor that becomes readable when the process ends; -1 when the system has none.
    static int openPidfd(pid_t pid);
    static bool isAvailable();

    // Watches the application's process; when it has already ended (or its pid now names another
    // process), ended() follows from the event loop.
    void watch(const AppHandle& app);
    void forget(const AppHandle& app);
    int watchedCount() const { return int(watched_.size()); }

signals:
    void ended(const AppHandle& app);

private:
    void fire(RunningApplication* key);

    struct Watched {
        AppHandle app;
        QSocketNotifier* notifier = nullptr;
    };
    QHash<RunningApplication*, Watched> watched_;
};

}  // namespace varrow::platform::linux_
