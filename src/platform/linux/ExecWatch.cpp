#include "platform/linux/ExecWatch.h"

#include <sys/inotify.h>
#include <unistd.h>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <cstring>

namespace varrow::platform::linux_ {

namespace {
constexpr uint32_t kFileEvents = IN_OPEN | IN_DELETE_SELF | IN_MOVE_SELF;
constexpr uint32_t kFolderEvents = IN_CREATE | IN_MOVED_TO | IN_ONLYDIR;
}  // namespace

ExecWatch::ExecWatch(QObject* parent) : QObject(parent) {
    fd_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd_ < 0) return;
    notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &ExecWatch::read);
}

ExecWatch::~ExecWatch() {
    if (fd_ >= 0) ::close(fd_);
}

void ExecWatch::setFiles(const QStringList& paths) {
    if (fd_ < 0 || paths == files_) return;
    for (auto it = byWatch_.cbegin(); it != byWatch_.cend(); ++it) ::inotify_rm_watch(fd_, it.key());
    for (auto it = folders_.cbegin(); it != folders_.cend(); ++it) ::inotify_rm_watch(fd_, it.key());
    byWatch_.clear();
    folders_.clear();
    files_ = paths;
    for (const QString& path : paths) {
        const QString folder = QFileInfo(path).absolutePath();
        if (!folders_.values().contains(folder)) {
            const int wd = ::inotify_add_watch(fd_, QFile::encodeName(folder).constData(), kFolderEvents);
            if (wd >= 0) folders_.insert(wd, folder);
        }
        watchFile(path);
    }
}

void ExecWatch::watchFile(const QString& path) {
    const int wd = ::inotify_add_watch(fd_, QFile::encodeName(path).constData(), kFileEvents);
    if (wd < 0) return;
    QStringList& names = byWatch_[wd];
    if (!names.contains(path)) names.append(path);
}

void ExecWatch::read() {
    alignas(inotify_event) char buffer[4096];
    bool wasOpened = false;
    QSet<QString> toWatch;
    for (ssize_t n; (n = ::read(fd_, buffer, sizeof buffer)) > 0;) {
        for (ssize_t at = 0; at < n;) {
            inotify_event event;
            std::memcpy(&event, buffer + at, sizeof event);
            const QString name = event.len ? QFile::decodeName(buffer + at + sizeof event) : QString();
            at += ssize_t(sizeof event + event.len);
            if (event.mask & IN_OPEN) wasOpened = true;
            if (event.mask & (IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED)) {
                // The file went or was replaced: its new one is watched once it is there.
                for (const QString& path : byWatch_.take(event.wd)) toWatch.insert(path);
            }
            if (event.mask & (IN_CREATE | IN_MOVED_TO)) {
                const QString folder = folders_.value(event.wd);
                for (const QString& path : std::as_const(files_))
                    if (QFileInfo(path).absolutePath() == folder && QFileInfo(path).fileName() == name)
                        toWatch.insert(path);
            }
        }
    }
    for (const QString& path : std::as_const(toWatch)) watchFile(path);
    if (wasOpened) emit opened();
}

}  // namespace varrow::platform::linux_
