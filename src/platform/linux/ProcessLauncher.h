#pragma once

#include <sys/types.h>
#include <QHash>
#include <QMap>
#include <QObject>
#include <QStringList>
#include <QThreadPool>
#include <functional>

class QSocketNotifier;

namespace varrow::platform::linux_ {

// Starts programs detached from this process (own session, standard descriptors on /dev/null,
// default signal handling) and notices at once when one of them exits, through a pidfd. Reaps
// what it started, so no child lingers as a zombie.
class ProcessLauncher : public QObject {
    Q_OBJECT
public:
    explicit ProcessLauncher(QObject* parent = nullptr);
    ~ProcessLauncher() override;

    struct Started {
        pid_t pid = -1;
        QString error;  // the system's description when the program could not be started
    };

    using StartCompletion = std::function<void(const Started& started)>;

    // argv = [program] + arguments; an empty environment inherits this process's. Started on a
    // thread of its own: the system call returns only once the new program has replaced the
    // child's copy of this one, which on a busy machine takes tens of milliseconds. done runs on
    // this object's thread, and the child is watched from then on.
    void start(const QString& program, const QStringList& arguments,
               const QMap<QString, QString>& environment, StartCompletion done = {});

    // Reaps every started child that has exited; for systems without pidfds, called by the rescan.
    void reap();
    int watchedCount() const { return int(children_.size()); }

signals:
    void exited(pid_t pid);

private:
    // On the spawning thread.
    static Started spawn(const QList<QByteArray>& argv, const QList<QByteArray>& envp,
                         bool inheritEnvironment);
    void watch(pid_t pid);
    void collect(pid_t pid);

    QHash<pid_t, QSocketNotifier*> children_;  // notifier is null without a pidfd
    // Last, so it is destroyed first: the destruction waits for starts under way, whose answers
    // are then dropped with this object.
    QThreadPool spawner_;
};

}  // namespace varrow::platform::linux_
