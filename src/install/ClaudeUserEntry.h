#pragma once

#include <QByteArray>
#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

namespace varrow::install {

// Claude writes its own user launcher entry (com.anthropic.Claude.desktop, marked
// X-Claude-Generated) at every start, naming the executable that started it. Started from an
// account's copy, that entry would make "Claude" in the application menu start the copy on the
// default data. This keeps the entry naming the installed Claude: the copy's program is put back
// to the installation's, everything else in the file stays byte for byte.
class ClaudeUserEntry : public QObject {
    Q_OBJECT
public:
    static constexpr auto kFileName = "com.anthropic.Claude.desktop";

    // folder: the user's applications folder; empty for $XDG_DATA_HOME/applications.
    explicit ClaudeUserEntry(QString folder = {}, QObject* parent = nullptr);

    QString path() const;
    // Repairs the entry now and again whenever the folder changes.
    void watch();
    // Repairs the entry when it names a copy's program; true when it was rewritten.
    bool repair();

    // The entry's text with every Exec and TryExec program inside a copy ("….app/") replaced by
    // executable; the same text when none is.
    static QByteArray repaired(const QByteArray& text, const QString& executable);

signals:
    void repaired(const QString& path);

private:
    QString folder_;
    QFileSystemWatcher watcher_;
    QTimer settle_;  // a write is often a burst of changes
};

}  // namespace varrow::install
