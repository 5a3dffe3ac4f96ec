#include "platform/linux/ProcReader.h"

#include "platform/Installations.h"
#include "platform/linux/BundleInfo.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

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

// "pid (comm) S ppid ... starttime ... exit_signal ...": comm may hold spaces and parentheses, so
// fields are counted from the last ')'.
std::optional<ProcReader::Stat> parseStat(const char* text, qsizetype length) {
    const char* end = text + length;
    const char* open = static_cast<const char*>(std::memchr(text, '(', size_t(length)));
    const char* close = nullptr;
    for (const char* p = text; p < end; ++p)
        if (*p == ')') close = p;
    if (!open || !close || close < open || close + 2 >= end) return std::nullopt;
    ProcReader::Stat stat;
    // A process seen between fork and exec keeps its pid and start time but changes its name; until
    // then it has its parent's name.
    quint32 hash = 2166136261u;
    for (const char* c = open + 1; c < close; ++c) hash = (hash ^ quint8(*c)) * 16777619u;
    stat.nameHash = hash;
    const char* p = close + 2;
    stat.zombie = *p == 'Z' || *p == 'X';
    int field = 3;
    auto next = [&] {
        while (p < end && *p != ' ') ++p;
        while (p < end && *p == ' ') ++p;
        ++field;
    };
    while (p < end && field < 22) {
        next();
        if (field == 4) stat.parent = pid_t(std::strtol(p, nullptr, 10));
    }
    if (field != 22 || p >= end) return std::nullopt;
    stat.startTime = std::strtoull(p, nullptr, 10);
    // Threads are created with exit signal -1; processes with the signal their parent hears.
    while (p < end && field < 38) next();
    stat.thread = field == 38 && p < end && std::strtol(p, nullptr, 10) == -1;
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

// One read of a small file under the root; the byte count, or -1.
ssize_t readSmall(int rootFd, const char* path, char* buffer, size_t size) {
    if (rootFd < 0) return -1;
    const int fd = ::openat(rootFd, path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return -1;
    ssize_t n;
    do n = ::read(fd, buffer, size);
    while (n < 0 && errno == EINTR);
    ::close(fd);
    return n;
}

}  // namespace

ProcReader::ProcReader(QString root, Installations* installations)
    : root_(std::move(root)), installations_(installations) {
    rootFd_ = ::open(root_.toLocal8Bit().constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

ProcReader::~ProcReader() {
    if (rootFd_ >= 0) ::close(rootFd_);
}

QByteArray ProcReader::readFile(pid_t pid, const char* name, qsizetype limit) const {
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

std::optional<ProcReader::Stat> ProcReader::readStat(pid_t pid) const {
    char path[32], buffer[1024];
    std::snprintf(path, sizeof path, "%d/stat", int(pid));
    const ssize_t n = readSmall(rootFd_, path, buffer, sizeof buffer);
    if (n <= 0) return std::nullopt;
    return parseStat(buffer, n);
}

namespace {
QStringList splitAtNul(const QByteArray& bytes) {
    QStringList parts;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype nul = bytes.indexOf('\0', start);
        if (nul < 0) nul = bytes.size();
        parts.append(QString::fromUtf8(bytes.constData() + start, nul - start));
        start = nul + 1;
    }
    return parts;
}
}  // namespace

std::optional<QStringList> ProcReader::readArguments(pid_t pid) const {
    const QByteArray bytes = readFile(pid, "cmdline", 1 << 24);
    // A zombie or a kernel thread has an empty command line.
    if (bytes.isEmpty()) return std::nullopt;
    return splitAtNul(bytes);
}

std::optional<QMap<QString, QString>> ProcReader::readEnvironment(pid_t pid) const {
    const QByteArray bytes = readFile(pid, "environ", 1 << 24);
    if (bytes.isEmpty()) return std::nullopt;
    QMap<QString, QString> environment;
    for (const QString& pair : splitAtNul(bytes)) {
        const qsizetype eq = pair.indexOf(u'=');
        if (eq > 0) environment.insert(pair.left(eq), pair.mid(eq + 1));
    }
    return environment;
}

bool ProcReader::ownedBy(pid_t pid, uid_t user) const {
    struct stat info {};
    char path[32];
    std::snprintf(path, sizeof path, "%d", int(pid));
    return rootFd_ >= 0 && ::fstatat(rootFd_, path, &info, 0) == 0 && info.st_uid == user;
}

QString ProcReader::folderOfProcess(pid_t pid) const {
    if (rootFd_ < 0) return {};
    char path[32], target[4096];
    std::snprintf(path, sizeof path, "%d/exe", int(pid));
    const ssize_t n = ::readlinkat(rootFd_, path, target, sizeof target - 1);
    if (n <= 0) return {};
    QString exe = QString::fromLocal8Bit(target, n);
    if (exe.endsWith(QLatin1String(" (deleted)"))) exe.chop(10);
    if (QString bundle = BundleInfo::bundleOf(exe); !bundle.isEmpty()) return bundle;
    if (installations_) {
        if (QString folder = installations_->folderOfExecutable(exe); !folder.isEmpty()) return folder;
    }

    // A script executable runs as its interpreter with the script as the first argument. Nearly every
    // process is something else, told from one bounded read without decoding its arguments.
    char arguments[2 * PATH_MAX + 2];
    std::snprintf(path, sizeof path, "%d/cmdline", int(pid));
    const ssize_t length = readSmall(rootFd_, path, arguments, sizeof arguments);
    if (length <= 0) return {};
    const char* end = arguments + length;
    const char* first = static_cast<const char*>(std::memchr(arguments, '\0', size_t(length)));
    if (!first || first + 1 >= end || first[1] != '/') return {};
    const char* second = first + 1;
    const char* secondEnd = static_cast<const char*>(std::memchr(second, '\0', size_t(end - second)));
    const QString script = QString::fromLocal8Bit(second, (secondEnd ? secondEnd : end) - second);
    const QString bundle = BundleInfo::bundleOf(script);
    if (bundle.isEmpty()) return {};
    const auto info = BundleInfo::read(bundle);
    if (!info || info->executable != QFileInfo(script).fileName() || !runsScript(exe, script)) return {};
    return QFileInfo(bundle).canonicalFilePath();
}

QList<pid_t> ProcReader::listProcesses() const {
    QList<pid_t> pids;
    DIR* dir = rootFd_ >= 0 ? ::fdopendir(::dup(rootFd_)) : nullptr;
    if (!dir) return pids;
    ::rewinddir(dir);
    while (const dirent* item = ::readdir(dir)) {
        pid_t pid = 0;
        if (parsePid(item->d_name, &pid)) pids.append(pid);
    }
    ::closedir(dir);
    return pids;
}

std::optional<pid_t> ProcReader::lastCreated() const {
    char buffer[128];
    const ssize_t n = readSmall(rootFd_, "loadavg", buffer, sizeof buffer - 1);
    if (n <= 0) return std::nullopt;
    buffer[n] = '\0';
    // "0.00 0.01 0.05 1/123 4567"
    const char* p = buffer;
    for (int field = 1; field < 5; ++field) {
        p = std::strchr(p, ' ');
        if (!p) return std::nullopt;
        ++p;
    }
    char* after = nullptr;
    const long value = std::strtol(p, &after, 10);
    if (after == p || value < 0) return std::nullopt;
    return pid_t(value);
}

pid_t ProcReader::idLimit() const {
    char buffer[32];
    const ssize_t n = readSmall(rootFd_, "sys/kernel/pid_max", buffer, sizeof buffer - 1);
    const long value = n > 0 ? (buffer[n] = '\0', std::strtol(buffer, nullptr, 10)) : 0;
    return value > 1 ? pid_t(value) : pid_t(4194304);  // the kernel's ceiling
}

}  // namespace varrow::platform::linux_
