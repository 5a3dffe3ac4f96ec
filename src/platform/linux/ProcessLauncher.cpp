#include "platform/linux/ProcessLauncher.h"

#include "platform/linux/ExitWatch.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <vector>

extern char** environ;

namespace varrow::platform::linux_ {

namespace {

// Keeps the bytes of every string alive while argv/envp point into them.
class CStrings {
public:
    explicit CStrings(const QList<QByteArray>& items) : bytes_(items) {
        for (const QByteArray& b : bytes_) pointers_.push_back(const_cast<char*>(b.constData()));
        pointers_.push_back(nullptr);
    }
    char** data() { return pointers_.data(); }

private:
    QList<QByteArray> bytes_;
    std::vector<char*> pointers_;
};

}  // namespace

ProcessLauncher::ProcessLauncher(QObject* parent) : QObject(parent) {
    // One start after another is quick enough; the thread then waits for the next without a
    // timeout, so nothing wakes at rest.
    spawner_.setMaxThreadCount(1);
    spawner_.setExpiryTimeout(-1);
}

ProcessLauncher::~ProcessLauncher() {
    // Children outlive this object; they are reparented to init when this process ends.
    for (QSocketNotifier* notifier : std::as_const(children_)) {
        if (!notifier) continue;
        ::close(int(notifier->socket()));
        delete notifier;
    }
}

void ProcessLauncher::start(const QString& program, const QStringList& arguments,
                            const QMap<QString, QString>& environment, StartCompletion done) {
    QList<QByteArray> argv{program.toLocal8Bit()};
    for (const QString& a : arguments) argv.append(a.toLocal8Bit());
    QList<QByteArray> envp;
    for (auto it = environment.cbegin(); it != environment.cend(); ++it)
        envp.append((it.key() + u'=' + it.value()).toLocal8Bit());
    const bool inherit = environment.isEmpty();
    spawner_.start([this, argv, envp, inherit, done = std::move(done)] {
        const Started started = spawn(argv, envp, inherit);
        QMetaObject::invokeMethod(this, [this, started, done] {
            if (started.pid > 0) watch(started.pid);
            if (done) done(started);
        });
    });
}

ProcessLauncher::Started ProcessLauncher::spawn(const QList<QByteArray>& argv, const QList<QByteArray>& envp,
                                                bool inheritEnvironment) {
    CStrings args(argv);
    CStrings env(envp);

    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none, defaults;
    sigemptyset(&none);
    sigfillset(&defaults);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes,
                             POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // A detached application must not hold this process's pipes open (a caller waiting for their
    // end would wait for the application too).
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);

    pid_t pid = -1;
    const int error = ::posix_spawn(&pid, argv.first().constData(), &actions, &attributes, args.data(),
                                    inheritEnvironment ? environ : env.data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (error != 0) return Started{-1, QString::fromLocal8Bit(std::strerror(error))};
    return Started{pid, {}};
}

void ProcessLauncher::watch(pid_t pid) {
    const int fd = ExitWatch::openPidfd(pid);
    QSocketNotifier* notifier = nullptr;
    if (fd >= 0) {
        notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
        connect(notifier, &QSocketNotifier::activated, this, [this, pid] { collect(pid); });
    }
    children_.insert(pid, notifier);
}

void ProcessLauncher::collect(pid_t pid) {
    int status = 0;
    pid_t done;
    do done = ::waitpid(pid, &status, WNOHANG);
    while (done < 0 && errno == EINTR);
    // 0: still running; -1 with ECHILD: someone else reaped it, it is gone all the same.
    if (done == 0) return;
    if (!children_.contains(pid)) return;
    if (QSocketNotifier* notifier = children_.take(pid)) {
        notifier->setEnabled(false);
        ::close(int(notifier->socket()));
        notifier->deleteLater();
    }
    emit exited(pid);
}

void ProcessLauncher::reap() {
    const QList<pid_t> pids = children_.keys();
    for (pid_t pid : pids) collect(pid);
}

}  // namespace varrow::platform::linux_
