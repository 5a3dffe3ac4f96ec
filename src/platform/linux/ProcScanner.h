#pragma once

#include "platform/RunningApplication.h"

#include <sys/types.h>
#include <QHash>
#include <QList>
#include <QString>
#include <functional>
#include <optional>

namespace varrow::platform::linux_ {

// Finds the applications among the processes of a /proc-like tree: processes of one user whose
// executable lies inside an application bundle, excluding helpers (children of a process of the
// same bundle). Each process is read once per (pid, start time); a rescan only re-reads each
// process's stat line to notice new, gone and reused process identifiers.
class ProcScanner {
public:
    using HandleFactory =
        std::function<AppHandle(pid_t pid, quint64 startTime, const QString& bundleIdentifier,
                                const QString& bundlePath, const QString& name)>;

    struct Changes {
        QList<AppHandle> launched;
        QList<AppHandle> terminated;
    };

    // The stat line of one process; none when it is gone or unreadable.
    struct Stat {
        quint64 startTime = 0;
        pid_t parent = 0;
        bool zombie = false;
        quint32 nameHash = 0;  // of the command name, which exec changes
    };

    ProcScanner(QString root, uid_t user, HandleFactory factory);
    ~ProcScanner();
    ProcScanner(const ProcScanner&) = delete;
    ProcScanner& operator=(const ProcScanner&) = delete;

    Changes scan();

    // Applications found by the last scan, in start order.
    const QList<AppHandle>& applications() const { return apps_; }
    AppHandle application(pid_t pid) const;
    // Takes a process this program started as an application of a known bundle, before the next scan
    // sees it; none when the process is already gone.
    AppHandle adopt(pid_t pid, const QString& bundlePath, const QString& bundleIdentifier);
    // Whether the last scan (or a lookup since) has seen this very process.
    bool knows(pid_t pid) const;
    // A handle for any live process of the user (an application or not); none when it is gone.
    AppHandle anyProcess(pid_t pid);

    std::optional<Stat> readStat(pid_t pid) const;
    std::optional<QStringList> readArguments(pid_t pid) const;
    QString root() const { return root_; }

private:
    struct Entry {
        quint64 startTime = 0;
        pid_t parent = 0;
        bool zombie = false;
        quint32 nameHash = 0;
        bool inspected = false;  // foreign, bundle and helper status known
        bool foreign = false;
        bool helper = false;
        QString bundlePath;
        AppHandle handle;  // applications always; other processes only once asked for
        AppHandle before;  // the handle from before a rename, kept when the bundle is the same
    };

    void inspect(pid_t pid, Entry& entry, const QHash<pid_t, Entry>& all);
    QString bundleOfProcess(pid_t pid) const;
    QByteArray readFile(pid_t pid, const char* name, qsizetype limit) const;
    AppHandle makeHandle(pid_t pid, const Entry& entry, const QString& bundleIdentifier);

    QString root_;
    int rootFd_ = -1;
    uid_t user_;
    HandleFactory factory_;
    QHash<pid_t, Entry> entries_;
    QList<AppHandle> apps_;
};

}  // namespace varrow::platform::linux_
