#include "platform/linux/ProcScanner.h"

#include "platform/linux/BundleInfo.h"
#include "platform/linux/LinuxClaudeInstall.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace varrow::platform::linux_ {

namespace {

bool parsePid(const char* name, pid_t* pid) {
    if (*name < '1' || *name > '9') return false;
    long value = 0;
    for (const char* p = name; *p; ++p) {
        if (*p < '0' || *p > '9') return false;
        value = value * 10 + (*p - '0');
        if (value > 0x7fffffff) return false;
    }
    *pid = pid_t(value);
    return true;
}

// "pid (comm) S ppid ... starttime ...": comm may hold spaces and parentheses, so fields are
// counted from the last ')'.
std::optional<ProcScanner::Stat> parseStat(const char* text, qsizetype length) {
    const char* end = text + length;
    const char* close = nullptr;
    for (const char* p = text; p < end; ++p)
        if (*p == ')') close = p;
    if (!close || close + 2 >= end) return std::nullopt;
    ProcScanner::Stat stat;
    // A process seen between fork and exec keeps its pid and start time but changes its name.
    quint32 hash = 2166136261u;
    for (const char* c = text; c < close; ++c) hash = (hash ^ quint8(*c)) * 16777619u;
    stat.nameHash = hash;
    const char* p = close + 2;
    stat.zombie = *p == 'Z' || *p == 'X';
    int field = 3;
    while (p < end && field < 22) {
        while (p < end && *p != ' ') ++p;
        while (p < end && *p == ' ') ++p;
        ++field;
        if (field == 4) stat.parent = pid_t(std::strtol(p, nullptr, 10));
    }
    if (field != 22 || p >= end) return std::nullopt;
    stat.startTime = std::strtoull(p, nullptr, 10);
    return stat;
}

// Whether the program at exe is the interpreter the script's "#!" line names (so the process runs
// the script rather than, say, an editor having it open).
bool runsScript(const QString& exe, const QString& script) {
    QFile file(script);
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QByteArray line = file.readLine(512);
    if (!line.startsWith("#!")) return false;
    const QList<QByteArray> words = line.mid(2).simplified().split(' ');
    if (words.isEmpty() || words.first().isEmpty()) return false;
    const QString interpreter = QString::fromLocal8Bit(words.first());
    if (QFileInfo(interpreter).fileName() == u"env" && words.size() > 1)
        return QFileInfo(exe).fileName() == QString::fromLocal8Bit(words.at(1));
    return QFileInfo(interpreter).canonicalFilePath() == QFileInfo(exe).canonicalFilePath();
}

}  // namespace

ProcScanner::ProcScanner(QString root, uid_t user, HandleFactory factory)
    : root_(std::move(root)), user_(user), factory_(std::move(factory)) {
    rootFd_ = ::open(root_.toLocal8Bit().constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

ProcScanner::~ProcScanner() {
    if (rootFd_ >= 0) ::close(rootFd_);
}

QByteArray ProcScanner::readFile(pid_t pid, const char* name, qsizetype limit) const {
    if (rootFd_ < 0) return {};
    char path[64];
    std::snprintf(path, sizeof path, "%d/%s", int(pid), name);
    const int fd = ::openat(rootFd_, path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return {};
    QByteArray bytes;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        bytes.append(buffer, n);
        if (bytes.size() >= limit) break;
    }
    ::close(fd);
    return bytes;
}

std::optional<ProcScanner::Stat> ProcScanner::readStat(pid_t pid) const {
    if (rootFd_ < 0) return std::nullopt;
    char path[32];
    std::snprintf(path, sizeof path, "%d/stat", int(pid));
    const int fd = ::openat(rootFd_, path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    char buffer[1024];
    ssize_t n;
    do n = ::read(fd, buffer, sizeof buffer);
    while (n < 0 && errno == EINTR);
    ::close(fd);
    if (n <= 0) return std::nullopt;
    return parseStat(buffer, n);
}

std::optional<QStringList> ProcScanner::readArguments(pid_t pid) const {
    const QByteArray bytes = readFile(pid, "cmdline", 1 << 24);
    // A zombie or a kernel thread has an empty command line.
    if (bytes.isEmpty()) return std::nullopt;
    QStringList arguments;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype nul = bytes.indexOf('\0', start);
        if (nul < 0) nul = bytes.size();
        arguments.append(QString::fromUtf8(bytes.constData() + start, nul - start));
        start = nul + 1;
    }
    return arguments;
}

QString ProcScanner::bundleOfProcess(pid_t pid) const {
    if (rootFd_ < 0) return {};
    char path[32], target[4096];
    std::snprintf(path, sizeof path, "%d/exe", int(pid));
    const ssize_t n = ::readlinkat(rootFd_, path, target, sizeof target - 1);
    if (n <= 0) return {};
    QString exe = QString::fromLocal8Bit(target, n);
    if (exe.endsWith(QLatin1String(" (deleted)"))) exe.chop(10);
    if (QString bundle = BundleInfo::bundleOf(exe); !bundle.isEmpty()) return bundle;
    if (QString folder = LinuxClaudeInstall::folderOfExecutable(exe); !folder.isEmpty()) return folder;

    // A script executable runs as its interpreter with the script as the first argument.
    const auto arguments = readArguments(pid);
    if (!arguments || arguments->size() < 2) return {};
    const QString& script = arguments->at(1);
    if (!script.startsWith(u'/')) return {};
    const QString bundle = BundleInfo::bundleOf(script);
    if (bundle.isEmpty()) return {};
    const auto info = BundleInfo::read(bundle);
    if (!info || info->executable != QFileInfo(script).fileName() || !runsScript(exe, script)) return {};
    return QFileInfo(bundle).canonicalFilePath();
}

AppHandle ProcScanner::makeHandle(pid_t pid, const Entry& entry, const QString& bundleIdentifier) {
    QString name;
    if (!entry.bundlePath.isEmpty() &&
        bundleIdentifier == QLatin1String(LinuxClaudeInstall::kBundleIdentifier) &&
        !entry.bundlePath.endsWith(QLatin1String(".app"))) {
        name = LinuxClaudeInstall::displayName(entry.bundlePath);
    } else if (!entry.bundlePath.isEmpty()) {
        name = BundleInfo::displayName(entry.bundlePath);
    } else {
        name = QString::fromLocal8Bit(readFile(pid, "comm", 64)).trimmed();
    }
    return factory_(pid, entry.startTime, bundleIdentifier, entry.bundlePath, name);
}

void ProcScanner::inspect(pid_t pid, Entry& entry, const QHash<pid_t, Entry>& all) {
    entry.inspected = true;
    if (entry.zombie) return;
    struct stat info {};
    char path[32];
    std::snprintf(path, sizeof path, "%d", int(pid));
    if (::fstatat(rootFd_, path, &info, 0) != 0 || info.st_uid != user_) {
        entry.foreign = true;
        return;
    }
    entry.bundlePath = bundleOfProcess(pid);
    if (entry.bundlePath.isEmpty()) return;
    // Helpers (Electron's "--type=" children, nested helper bundles) run under their application.
    const auto parent = all.constFind(entry.parent);
    if (parent != all.cend() && !parent->bundlePath.isEmpty() &&
        (entry.bundlePath == parent->bundlePath || entry.bundlePath.startsWith(parent->bundlePath + u'/'))) {
        entry.helper = true;
        return;
    }
    const auto bundle = BundleInfo::read(entry.bundlePath);
    QString identifier = bundle ? bundle->identifier : QString();
    if (!bundle && LinuxClaudeInstall::isClaudeFolder(entry.bundlePath)) {
        // Electron's helpers run the same executable with "--type=…", even when reparented.
        const auto arguments = readArguments(pid);
        if (arguments && std::any_of(arguments->cbegin(), arguments->cend(), [](const QString& argument) {
                return argument.startsWith(QLatin1String("--type="));
            })) {
            entry.helper = true;
            return;
        }
        identifier = QLatin1String(LinuxClaudeInstall::kBundleIdentifier);
    }
    entry.handle = makeHandle(pid, entry, identifier);
}

ProcScanner::Changes ProcScanner::scan() {
    QHash<pid_t, Entry> next;
    next.reserve(entries_.size() + 16);
    if (DIR* dir = rootFd_ >= 0 ? ::fdopendir(::dup(rootFd_)) : nullptr) {
        ::rewinddir(dir);
        while (const dirent* item = ::readdir(dir)) {
            pid_t pid = 0;
            if (!parsePid(item->d_name, &pid)) continue;
            const auto stat = readStat(pid);
            if (!stat) continue;  // gone between listing and reading
            auto old = entries_.find(pid);
            if (old != entries_.end() && old->startTime == stat->startTime &&
                old->nameHash == stat->nameHash) {
                Entry entry = std::move(*old);
                entry.zombie = stat->zombie;
                next.insert(pid, std::move(entry));
            } else {
                Entry entry;
                entry.startTime = stat->startTime;
                entry.parent = stat->parent;
                entry.zombie = stat->zombie;
                entry.nameHash = stat->nameHash;
                // Same process under a new name: looked at again, but an application keeps its handle.
                if (old != entries_.end() && old->startTime == stat->startTime) {
                    entry.before = old->handle;
                    entry.bundlePath = old->bundlePath;
                }
                next.insert(pid, std::move(entry));
            }
        }
        ::closedir(dir);
    }

    // Parents first, so a child can tell whether it runs under a process of its own bundle.
    QList<pid_t> fresh;
    for (auto it = next.cbegin(); it != next.cend(); ++it)
        if (!it->inspected) fresh.append(it.key());
    std::sort(fresh.begin(), fresh.end(), [&next](pid_t a, pid_t b) {
        const quint64 sa = next.constFind(a)->startTime, sb = next.constFind(b)->startTime;
        return sa != sb ? sa < sb : a < b;
    });
    for (pid_t pid : fresh) {
        Entry& entry = next[pid];
        const QString previousBundle = entry.bundlePath;
        entry.bundlePath.clear();
        inspect(pid, entry, next);
        if (entry.before && entry.handle && entry.bundlePath == previousBundle) entry.handle = entry.before;
        entry.before.reset();
    }

    entries_ = std::move(next);
    QList<AppHandle> apps;
    for (const Entry& entry : std::as_const(entries_))
        if (entry.handle && !entry.zombie && !entry.bundlePath.isEmpty() && !entry.helper)
            apps.append(entry.handle);
    std::sort(apps.begin(), apps.end(), [](const AppHandle& a, const AppHandle& b) {
        return a->startTime() != b->startTime() ? a->startTime() < b->startTime()
                                                : a->processIdentifier() < b->processIdentifier();
    });

    Changes changes;
    for (const AppHandle& app : apps)
        if (!apps_.contains(app)) changes.launched.append(app);
    for (const AppHandle& app : std::as_const(apps_))
        if (!apps.contains(app)) changes.terminated.append(app);
    apps_ = std::move(apps);
    return changes;
}

AppHandle ProcScanner::application(pid_t pid) const {
    for (const AppHandle& app : apps_)
        if (app->processIdentifier() == pid) return app;
    return nullptr;
}

AppHandle ProcScanner::adopt(pid_t pid, const QString& bundlePath, const QString& bundleIdentifier) {
    const auto stat = readStat(pid);
    if (!stat || stat->zombie) return nullptr;
    Entry& entry = entries_[pid];
    if (entry.handle && entry.startTime == stat->startTime && !entry.bundlePath.isEmpty()) {
        entry.helper = false;
        return entry.handle;
    }
    entry = Entry{stat->startTime, stat->parent, false,      stat->nameHash, true,
                  false,           false,        bundlePath, nullptr,        nullptr};
    entry.handle = makeHandle(pid, entry, bundleIdentifier);
    return entry.handle;
}

bool ProcScanner::knows(pid_t pid) const {
    const auto entry = entries_.constFind(pid);
    if (entry == entries_.cend()) return false;
    const auto stat = readStat(pid);
    return stat && entry->startTime == stat->startTime && entry->nameHash == stat->nameHash;
}

AppHandle ProcScanner::anyProcess(pid_t pid) {
    if (AppHandle app = application(pid)) return app;
    const auto stat = readStat(pid);
    if (!stat || stat->zombie) return nullptr;
    Entry& entry = entries_[pid];
    if (entry.startTime != stat->startTime || entry.nameHash != stat->nameHash || !entry.inspected) {
        // Looked at properly: a window can show before the next scan, and a process marked
        // "no application" here would never be looked at again.
        entry = Entry{};
        entry.startTime = stat->startTime;
        entry.parent = stat->parent;
        entry.nameHash = stat->nameHash;
        inspect(pid, entry, entries_);
    }
    if (!entry.handle) entry.handle = makeHandle(pid, entry, QString());
    return entry.handle;
}

}  // namespace varrow::platform::linux_
