#include "platform/linux/ProcScanner.h"

#include "platform/Installations.h"
#include "platform/Timings.h"
#include "platform/linux/BundleInstallation.h"

#include <QSet>
#include <algorithm>
#include <utility>

namespace varrow::platform::linux_ {

namespace {

// Beyond this many new ids since the last look, listing the tree costs less than trying each: a
// tried id costs 2.5 µs (gone) to 8 µs (a thread or process), a listing of 1,000 to 3,000
// processes 0.6 to 6 ms (measured on a shared 2-core machine).
constexpr qint64 kMostIdsTried = 512;
// The kernel's RESERVED_PIDS: where ids start again after reaching the limit.
constexpr pid_t kFirstIdAfterWrap = 300;

bool sameProcess(quint64 startTime, quint32 nameHash, const ProcReader::Stat& stat) {
    return startTime == stat.startTime && nameHash == stat.nameHash;
}

bool startsEarlier(const AppHandle& a, const AppHandle& b) {
    return a->startTime() != b->startTime() ? a->startTime() < b->startTime()
                                            : a->processIdentifier() < b->processIdentifier();
}

}  // namespace

ProcScanner::ProcScanner(QString root, uid_t user, HandleFactory factory, Installations* installations)
    : reader_(std::move(root), installations),
      installations_(installations),
      user_(user),
      factory_(std::move(factory)),
      idLimit_(reader_.idLimit()) {}

ProcScanner::Entry ProcScanner::entryFor(const Stat& stat, const Entry* old) {
    Entry entry;
    entry.startTime = stat.startTime;
    entry.parent = stat.parent;
    entry.zombie = stat.zombie;
    entry.nameHash = stat.nameHash;
    // Same process under a new name: looked at again, but an application keeps its handle.
    if (old && old->startTime == stat.startTime) {
        entry.before = old->handle;
        entry.folder = old->folder;
    }
    return entry;
}

bool ProcScanner::isApplication(const Entry& entry) {
    return entry.handle && !entry.zombie && !entry.folder.isEmpty() && !entry.helper;
}

InstallationRef ProcScanner::installationAt(const QString& folder) const {
    if (auto bundle = BundleInstallation::read(folder)) return bundle;
    return installations_ ? installations_->installation(folder) : nullptr;
}

AppHandle ProcScanner::makeHandle(pid_t pid, const Entry& entry, const Installation* installation) {
    QString name;
    if (installation) {
        name = installation->displayName();
    } else if (!entry.folder.isEmpty()) {
        // In a bundle whose Info.plist cannot be read.
        name = BundleInfo::displayName(entry.folder);
    } else {
        name = QString::fromLocal8Bit(reader_.readFile(pid, "comm", 64)).trimmed();
    }
    return factory_(pid, entry.startTime, installation ? installation->applicationId() : QString(),
                    entry.folder, name);
}

// Electron's helpers run the application's own executable with "--type=…". Most of them rewrite
// their argument vector into one string joined by spaces, so the flag may sit inside the first.
bool ProcScanner::isHelperByArguments(const QStringList& arguments) {
    if (arguments.isEmpty()) return false;
    if (arguments.first().contains(QLatin1String(" --type="))) return true;
    return std::any_of(arguments.cbegin(), arguments.cend(),
                       [](const QString& argument) { return argument.startsWith(QLatin1String("--type=")); });
}

void ProcScanner::inspect(pid_t pid, Entry& entry, const QHash<pid_t, Entry>& all) {
    entry.inspected = true;
    if (entry.zombie) return;
    if (!reader_.ownedBy(pid, user_)) {
        entry.foreign = true;
        return;
    }
    entry.folder = reader_.folderOfProcess(pid);
    if (entry.folder.isEmpty()) return;
    // An exec shows its new program a moment before the program's arguments are laid out (a
    // launch returns in that moment). Whose it is can't be told without them: looked at again.
    const auto arguments = reader_.readArguments(pid);
    if (!arguments) {
        entry.unsettled = true;
        entry.folder.clear();
        return;
    }
    // Helpers (Electron's "--type=" children, nested helper bundles) run under their application.
    const auto parent = all.constFind(entry.parent);
    if (parent != all.cend() && !parent->folder.isEmpty() &&
        (entry.folder == parent->folder || entry.folder.startsWith(parent->folder + u'/'))) {
        entry.helper = true;
        return;
    }
    const InstallationRef installation = installationAt(entry.folder);
    // Even reparented, a package's helper is told by its arguments.
    if (installation && installation->layout() == Installation::Layout::Package &&
        isHelperByArguments(*arguments)) {
        entry.helper = true;
        return;
    }
    entry.handle = makeHandle(pid, entry, installation.get());
}

// Parents first, so a child can tell whether it runs under a process of its own installation.
void ProcScanner::inspectInStartOrder(QList<pid_t> pids, QHash<pid_t, Entry>& entries) {
    std::sort(pids.begin(), pids.end(), [&entries](pid_t a, pid_t b) {
        const quint64 sa = entries.constFind(a)->startTime, sb = entries.constFind(b)->startTime;
        return sa != sb ? sa < sb : a < b;
    });
    for (pid_t pid : std::as_const(pids)) {
        Entry& entry = entries[pid];
        const QString previousFolder = entry.folder;
        entry.folder.clear();
        inspect(pid, entry, entries);
        if (entry.before && entry.handle && entry.folder == previousFolder) entry.handle = entry.before;
        entry.before.reset();
    }
}

ProcScanner::Changes ProcScanner::scan() {
    // Read first: whatever is created after this is found by the next update.
    lastCreated_ = reader_.lastCreated();
    young_.clear();
    unannounced_.clear();
    QHash<pid_t, Entry> next;
    next.reserve(entries_.size() + 16);
    QList<pid_t> fresh;
    for (pid_t pid : reader_.listProcesses()) {
        const auto stat = reader_.readStat(pid);
        if (!stat || stat->thread) continue;  // gone between listing and reading; not a process
        auto old = entries_.find(pid);
        if (old != entries_.end() && !old->unsettled && sameProcess(old->startTime, old->nameHash, *stat)) {
            Entry entry = std::move(*old);
            entry.zombie = stat->zombie;
            next.insert(pid, std::move(entry));
        } else {
            next.insert(pid, entryFor(*stat, old != entries_.end() ? &*old : nullptr));
            fresh.append(pid);
        }
    }
    inspectInStartOrder(std::move(fresh), next);

    entries_ = std::move(next);
    pruneAt_ = entries_.size() * 2 + 1024;
    QList<AppHandle> apps;
    for (auto it = entries_.cbegin(); it != entries_.cend(); ++it) {
        // A launch still loading its program is listed once its arguments can be read.
        if (isApplication(*it) && (apps_.contains(it->handle) || reader_.readArguments(it.key())))
            apps.append(it->handle);
    }
    std::sort(apps.begin(), apps.end(), startsEarlier);

    Changes changes;
    for (const AppHandle& app : apps)
        if (!apps_.contains(app)) changes.launched.append(app);
    for (const AppHandle& app : std::as_const(apps_))
        if (!apps.contains(app)) changes.terminated.append(app);
    apps_ = std::move(apps);
    return changes;
}

// The ids handed out after `after` up to `upTo`, upwards and wrapping at the limit; when there are
// many, the listed processes among them (and any not seen before).
QList<pid_t> ProcScanner::createdBetween(pid_t after, pid_t upTo) {
    if (after >= idLimit_ || upTo >= idLimit_) idLimit_ = reader_.idLimit();  // raised since
    const bool wrapped = upTo < after;
    // After wrapping, the kernel hands out ids from kFirstIdAfterWrap on (lower ones are kept for
    // the system's own start-up).
    const pid_t restart = upTo >= kFirstIdAfterWrap ? kFirstIdAfterWrap : 1;
    const qint64 count = wrapped ? qint64(idLimit_) - 1 - after + (upTo - restart + 1) : qint64(upTo) - after;
    QList<pid_t> pids;
    if (count >= 0 && count <= kMostIdsTried && after < idLimit_) {
        pids.reserve(count);
        for (qint64 id = qint64(after) + 1; id < (wrapped ? idLimit_ : qint64(upTo) + 1); ++id)
            pids.append(pid_t(id));
        if (wrapped)
            for (pid_t id = restart; id <= upTo; ++id) pids.append(id);
        return pids;
    }
    for (pid_t pid : reader_.listProcesses())
        if ((wrapped ? pid > after || pid <= upTo : pid > after && pid <= upTo) || !entries_.contains(pid))
            pids.append(pid);
    return pids;
}

ProcScanner::Changes ProcScanner::update() {
    const auto last = reader_.lastCreated();
    if (!last || !lastCreated_) return scan();  // no cheap way to tell: look at everything
    Changes changes;
    for (pid_t pid : std::exchange(unannounced_, {})) {
        const auto entry = entries_.constFind(pid);
        if (entry != entries_.cend() && isApplication(*entry) && !apps_.contains(entry->handle)) {
            const auto arguments = reader_.readArguments(pid);
            if (!arguments) {  // launched, and still loading its program
                unannounced_.append(pid);
                continue;
            }
            insertApplication(entry->handle);
            changes.launched.append(entry->handle);
        }
    }

    QList<pid_t> candidates;
    for (auto it = young_.begin(); it != young_.end();) {
        candidates.append(it.key());
        it = --it.value() > 0 ? std::next(it) : young_.erase(it);
    }
    if (*last != *lastCreated_) {
        candidates += createdBetween(*lastCreated_, *last);
        lastCreated_ = last;
    }

    // New processes, and known ones that have run another program since they were seen.
    QList<pid_t> fresh;
    QHash<pid_t, AppHandle> replaced;
    QSet<pid_t> looked;
    std::function<void(pid_t)> look = [&](pid_t pid) {
        if (pid <= 0 || looked.contains(pid)) return;
        looked.insert(pid);
        const auto stat = reader_.readStat(pid);
        if (!stat) {
            young_.remove(pid);
            return;
        }
        // A thread is reachable by its id but is no process of its own.
        if (stat->thread) return;
        const auto old = entries_.find(pid);
        if (old != entries_.end() && !old->unsettled && sameProcess(old->startTime, old->nameHash, *stat)) {
            old->zombie = stat->zombie;
            return;
        }
        if (old != entries_.end() && old->handle && apps_.contains(old->handle))
            replaced.insert(pid, old->handle);
        entries_.insert(pid, entryFor(*stat, old != entries_.end() ? &*old : nullptr));
        fresh.append(pid);
        // A child can be the first sign that its parent has run another program.
        look(stat->parent);
    };
    for (pid_t pid : std::as_const(candidates)) look(pid);
    if (fresh.isEmpty()) return changes;

    inspectInStartOrder(fresh, entries_);
    for (pid_t pid : std::as_const(fresh)) {
        const Entry& entry = entries_[pid];
        const AppHandle before = replaced.value(pid);
        const AppHandle now = isApplication(entry) ? entry.handle : nullptr;
        if (!now && !entry.foreign && !entry.zombie && entry.folder.isEmpty() &&
            (entry.unsettled || mayYetExec(entry))) {
            if (!young_.contains(pid)) young_.insert(pid, Timings::execLooks);
        } else {
            young_.remove(pid);
        }
        if (before == now) continue;
        if (before) {
            apps_.removeOne(before);
            changes.terminated.append(before);
        }
        if (now) {
            insertApplication(now);
            changes.launched.append(now);
        }
    }
    std::sort(changes.launched.begin(), changes.launched.end(), startsEarlier);
    if (entries_.size() > pruneAt_) prune();
    return changes;
}

// A forked process has its parent's name until it runs a program of its own; one that has run one
// is found again, should it run another, through its first child (as Electron's are, at once).
bool ProcScanner::mayYetExec(const Entry& entry) const {
    const auto parent = entries_.constFind(entry.parent);
    return parent == entries_.cend() || parent->nameHash == entry.nameHash;
}

ProcScanner::Changes ProcScanner::ended(const AppHandle& app) {
    Changes changes;
    if (!app || !apps_.removeOne(app)) return changes;
    changes.terminated.append(app);
    const auto entry = entries_.constFind(app->processIdentifier());
    if (entry != entries_.cend() && entry->handle == app) entries_.erase(entry);
    return changes;
}

// Forgets processes that have ended unnoticed (only applications are watched).
void ProcScanner::prune() {
    const QList<pid_t> listed = reader_.listProcesses();
    const QSet<pid_t> live(listed.cbegin(), listed.cend());
    entries_.removeIf([&live](const auto& item) { return !live.contains(item.key()); });
    young_.removeIf([&live](const auto& item) { return !live.contains(item.key()); });
    pruneAt_ = entries_.size() * 2 + 1024;
}

void ProcScanner::insertApplication(const AppHandle& app) {
    apps_.insert(std::upper_bound(apps_.begin(), apps_.end(), app, startsEarlier), app);
}

AppHandle ProcScanner::application(pid_t pid) const {
    for (const AppHandle& app : apps_)
        if (app->processIdentifier() == pid) return app;
    return nullptr;
}

AppHandle ProcScanner::adopt(pid_t pid, const QString& folder) {
    const auto stat = reader_.readStat(pid);
    if (!stat || stat->zombie) return nullptr;
    Entry& entry = entries_[pid];
    unannounced_.append(pid);
    if (entry.handle && entry.startTime == stat->startTime && !entry.folder.isEmpty()) {
        entry.helper = false;
        return entry.handle;
    }
    entry = Entry{};
    entry.startTime = stat->startTime;
    entry.parent = stat->parent;
    entry.nameHash = stat->nameHash;
    entry.inspected = true;
    entry.folder = folder;
    entry.handle = makeHandle(pid, entry, installationAt(folder).get());
    young_.remove(pid);
    return entry.handle;
}

bool ProcScanner::knows(pid_t pid) const {
    const auto entry = entries_.constFind(pid);
    if (entry == entries_.cend()) return false;
    const auto stat = reader_.readStat(pid);
    return stat && sameProcess(entry->startTime, entry->nameHash, *stat);
}

AppHandle ProcScanner::anyProcess(pid_t pid) {
    if (AppHandle app = application(pid)) return app;
    const auto stat = reader_.readStat(pid);
    if (!stat || stat->zombie) return nullptr;
    Entry& entry = entries_[pid];
    if (!sameProcess(entry.startTime, entry.nameHash, *stat) || !entry.inspected || entry.unsettled) {
        // Looked at properly: a window can show before the next scan, and a process marked
        // "no application" here would never be looked at again.
        entry = entryFor(*stat, nullptr);
        inspect(pid, entry, entries_);
        if (isApplication(entry)) unannounced_.append(pid);
    }
    if (!entry.handle) entry.handle = makeHandle(pid, entry, nullptr);
    return entry.handle;
}

}  // namespace varrow::platform::linux_
