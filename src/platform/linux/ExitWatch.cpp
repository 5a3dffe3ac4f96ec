#include "platform/linux/ExitWatch.h"

#include <sys/syscall.h>
#include <unistd.h>
#include <QSocketNotifier>
#include <QTimer>
#include <cerrno>

namespace varrow::platform::linux_ {

ExitWatch::~ExitWatch() {
    for (const Watched& watched : std::as_const(watched_)) {
        ::close(int(watched.notifier->socket()));
        delete watched.notifier;
    }
}

int ExitWatch::openPidfd(pid_t pid) {
#ifdef SYS_pidfd_open
    return int(::syscall(SYS_pidfd_open, pid, 0));
#else
    Q_UNUSED(pid);
    errno = ENOSYS;
    return -1;
#endif
}

bool ExitWatch::isAvailable() {
    static const bool available = [] {
        const int fd = openPidfd(::getpid());
        if (fd < 0) return false;
        ::close(fd);
        return true;
    }();
    return available;
}

void ExitWatch::watch(const AppHandle& app) {
    if (!app || watched_.contains(app.get())) return;
    RunningApplication* key = app.get();
    const int fd = openPidfd(app->processIdentifier());
    if (fd < 0) {
        // Gone already (or never ours to watch): said from the event loop, as an exit would be.
        QTimer::singleShot(0, this, [this, app] { emit ended(app); });
        return;
    }
    auto* notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, [this, key] { fire(key); });
    watched_.insert(key, Watched{app, notifier});
    // The pid may have been handed to another process between the sighting and the pidfd.
    if (app->isTerminated())
        QTimer::singleShot(0, this, [this, app] {
            const auto it = watched_.constFind(app.get());
            if (it != watched_.cend() && it->app == app) fire(app.get());
        });
}

void ExitWatch::forget(const AppHandle& app) {
    const auto it = watched_.find(app.get());
    if (it == watched_.end()) return;
    it->notifier->setEnabled(false);
    ::close(int(it->notifier->socket()));
    it->notifier->deleteLater();
    watched_.erase(it);
}

void ExitWatch::fire(RunningApplication* key) {
    const auto it = watched_.constFind(key);
    if (it == watched_.cend()) return;
    const AppHandle app = it->app;
    forget(app);
    emit ended(app);
}

}  // namespace varrow::platform::linux_
