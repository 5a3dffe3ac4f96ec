#pragma once

#include <sys/types.h>
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace varrow::test {

// A /proc-like folder for the process scanner: PID/stat, PID/exe (a symbolic link), PID/cmdline
// and PID/comm; plus application bundles to point the links at.
class ProcTree {
public:
    explicit ProcTree(QString root);

    QString root() const { return root_; }
    void addProcess(pid_t pid, pid_t parent, quint64 startTime, const QString& exe,
                    const QStringList& arguments = {}, char state = 'S');
    void setState(pid_t pid, pid_t parent, quint64 startTime, char state, const QString& comm = "proc");
    void remove(pid_t pid);
    // A thread of a process (added first), reachable by its own id as the kernel's threads are.
    void addThread(pid_t thread, pid_t process, quint64 startTime);
    // The newest id handed out (loadavg's fifth field), and where ids wrap.
    void setLastCreated(pid_t pid);
    void setIdLimit(pid_t limit);

    // Makes "<folder>/<name>.app" with an Info.plist and an executable; returns the bundle path.
    static QString makeBundle(const QString& folder, const QString& name, const QString& identifier,
                              const QString& executable = "Tool", const QByteArray& script = {});
    static QByteArray infoPlist(const QString& identifier, const QString& executable,
                                const QString& iconFile = {});

private:
    QString root_;
};

}  // namespace varrow::test
