#pragma once

#include <sys/types.h>
#include <QHash>
#include <QMap>
#include <QObject>
#include <QStringList>

class QSocketNotifier;

namespace varrow::platform::linux_ {

// Starts programs detached from this process (own session, standard descriptors on /dev/null,
// default signal handling) and notices at once when one of them exits, through a pidfd. Reaps
// what it started, so no child lingers as a zombie.
class ProcessLauncher : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~ProcessLauncher() override;

    struct Started {
        pid_t pid = -1;
        QString error;  // the system's description when the program could not be started
    };

    // argv = [program] + arguments; an empty environment inherits this process's.
    Started start(const QString& program, const QStringList& arguments,
                  const QMap<QString, QString>& environment);

    // Reaps every started child that has exited; for systems without pidfds, called by the rescan.
    void reap();
    int watchedCount() const { return int(children_.size()); }

signals:
    void exited(pid_t pid);

private:
    void watch(pid_t pid);
    void collect(pid_t pid);

    QHash<pid_t, QSocketNotifier*> children_;  // notifier is null without a pidfd
};

}  // namespace varrow::platform::linux_
