#pragma once

#include <sys/types.h>
#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>

namespace varrow::platform {
class Installations;
}

namespace varrow::platform::linux_ {

// Reads the files of a /proc-like tree, one small read per question, through a descriptor of the
// tree's root (so a tree can be a test folder).
class ProcReader {
public:
    // The stat line of one process; none when it is gone or unreadable.
    struct Stat {
        quint64 startTime = 0;
        pid_t parent = 0;
        bool zombie = false;
        bool thread = false;   // a thread of another process, reachable by its own id
        quint32 nameHash = 0;  // of the command name, which exec changes and fork keeps
    };

    // installations, when given, tells which other executables are applications (and may be
    // null: only bundles are).
    explicit ProcReader(QString root, Installations* installations = nullptr);
    ~ProcReader();
    ProcReader(const ProcReader&) = delete;
    ProcReader& operator=(const ProcReader&) = delete;

    QString root() const { return root_; }
    std::optional<Stat> readStat(pid_t pid) const;
    std::optional<QStringList> readArguments(pid_t pid) const;
    // The environment the process was started with; none when it cannot be read.
    std::optional<QMap<QString, QString>> readEnvironment(pid_t pid) const;
    QByteArray readFile(pid_t pid, const char* name, qsizetype limit) const;
    bool ownedBy(pid_t pid, uid_t user) const;
    // The folder of the installation (a bundle, or one the installations service knows) a process
    // runs from; empty for anything else.
    QString folderOfProcess(pid_t pid) const;

    // The processes listed in the tree (threads are not listed).
    QList<pid_t> listProcesses() const;
    // The most recently created process or thread id: loadavg's fifth field. It changes whenever
    // anything is created, so an unchanged value means nothing new runs.
    std::optional<pid_t> lastCreated() const;
    // Ids are handed out upwards and wrap below this.
    pid_t idLimit() const;

private:
    QString root_;
    Installations* installations_;
    int rootFd_ = -1;
};

}  // namespace varrow::platform::linux_
