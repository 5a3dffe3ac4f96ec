#pragma once

#include <QHash>
#include <QObject>
#include <QSet>
#include <QStringList>

class QSocketNotifier;

namespace varrow::platform::linux_ {

// Tells when one of a few executables is opened, which every start of it does (exec opens the
// file), through inotify: a program started outside Varrow is noticed without looking for new
// processes on a timer. A file replaced by renaming a new one over it (a package upgrade) is
// watched again through its folder.
class ExecWatch : public QObject {
    Q_OBJECT
public:
    explicit ExecWatch(QObject* parent = nullptr);
    ~ExecWatch() override;

    // Watches these files (missing ones once they appear in their folder) instead of the ones before.
    void setFiles(const QStringList& paths);
    // Whether at least one file is watched: only then is nothing missed without a timer.
    bool isActive() const { return !byWatch_.isEmpty(); }

signals:
    void opened();

private:
    void read();
    void watchFile(const QString& path);

    int fd_ = -1;
    QSocketNotifier* notifier_ = nullptr;
    QStringList files_;
    QHash<int, QStringList> byWatch_;  // a file's watch; hard links share one
    QHash<int, QString> folders_;      // watches of the files' folders
};

}  // namespace varrow::platform::linux_
