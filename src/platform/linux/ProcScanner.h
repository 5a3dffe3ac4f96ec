#pragma once

#include "platform/Installation.h"
#include "platform/RunningApplication.h"
#include "platform/linux/ProcReader.h"

#include <sys/types.h>
#include <QHash>
#include <QList>
#include <QString>
#include <functional>
#include <optional>

namespace varrow::platform::linux_ {

// Finds the applications among the processes of a /proc-like tree: processes of one user whose
// executable is an installation's (a bundle's, or one the installations service knows), excluding
// helpers (children of a process of the same installation). Each process is inspected once per
// (pid, start time, command name).
class ProcScanner {
public:
    using HandleFactory = std::function<AppHandle(pid_t pid, quint64 startTime, const QString& applicationId,
                                                  const QString& folder, const QString& name)>;
    using Stat = ProcReader::Stat;

    struct Changes {
        QList<AppHandle> launched;
        QList<AppHandle> terminated;
    };

    ProcScanner(QString root, uid_t user, HandleFactory factory, Installations* installations = nullptr);

    // Lists the tree and reads every process's stat line to notice new, gone and reused process
    // identifiers.
    Changes scan();
    // Looks only where something can have changed since the last look: at processes created since
    // (none when the tree's newest id is unchanged; threads skipped) and at recent ones seen before
    // they ran a program of their own. Ended applications are not noticed here; see ended().
    Changes update();
    // An application's process has ended (its exit was observed elsewhere).
    Changes ended(const AppHandle& app);

    // Applications found so far, in start order.
    const QList<AppHandle>& applications() const { return apps_; }
    AppHandle application(pid_t pid) const;
    // Takes a process this program started from the installation in a folder; it is announced by
    // the next scan or update. None when the process is already gone.
    AppHandle adopt(pid_t pid, const QString& folder);
    // The installation in a folder: a bundle, else what the installations service knows there.
    InstallationRef installationAt(const QString& folder) const;
    // Whether this very process has been seen.
    bool knows(pid_t pid) const;
    // Whether some process still has to be looked at again (forked but not yet run its program,
    // or an application still laying out its arguments).
    bool hasPending() const { return !young_.isEmpty() || !unannounced_.isEmpty(); }
    // A handle for any live process of the user (an application or not); none when it is gone.
    AppHandle anyProcess(pid_t pid);

    std::optional<Stat> readStat(pid_t pid) const { return reader_.readStat(pid); }
    std::optional<QStringList> readArguments(pid_t pid) const { return reader_.readArguments(pid); }
    std::optional<QMap<QString, QString>> readEnvironment(pid_t pid) const {
        return reader_.readEnvironment(pid);
    }
    QString root() const { return reader_.root(); }

private:
    struct Entry {
        quint64 startTime = 0;
        pid_t parent = 0;
        bool zombie = false;
        quint32 nameHash = 0;
        bool inspected = false;  // foreign, installation and helper status known
        bool foreign = false;
        bool helper = false;
        bool unsettled = false;  // its new program is still being loaded: no arguments yet
        QString folder;
        AppHandle handle;  // applications always; other processes only once asked for
        AppHandle before;  // the handle from before a rename, kept when the folder is the same
    };

    static Entry entryFor(const Stat& stat, const Entry* old);
    static bool isApplication(const Entry& entry);
    void inspect(pid_t pid, Entry& entry, const QHash<pid_t, Entry>& all);
    void inspectInStartOrder(QList<pid_t> pids, QHash<pid_t, Entry>& entries);
    AppHandle makeHandle(pid_t pid, const Entry& entry, const Installation* installation);
    static bool isHelperByArguments(const QStringList& arguments);
    QList<pid_t> createdBetween(pid_t after, pid_t upTo);
    bool mayYetExec(const Entry& entry) const;
    void insertApplication(const AppHandle& app);
    void prune();

    ProcReader reader_;
    Installations* installations_;
    uid_t user_;
    HandleFactory factory_;
    QHash<pid_t, Entry> entries_;
    QList<AppHandle> apps_;
    std::optional<pid_t> lastCreated_;
    pid_t idLimit_;
    QHash<pid_t, int> young_;   // processes seen before their exec: looks left
    QList<pid_t> unannounced_;  // applications found outside a scan or update
    qsizetype pruneAt_ = 0;
};

}  // namespace varrow::platform::linux_
