#pragma once

#include <QObject>
#include <QString>

class QProcess;

// What Claude's Linux build does at every start: writes its own user entry for claude: links,
// naming the executable it runs as, and makes that entry the default handler with xdg-mime. The
// entry is written at once; xdg-mime runs in the background so the window never waits for it.
class LinkClaim : public QObject {
    Q_OBJECT
public:
    static constexpr auto kEntryName = "com.anthropic.Claude.desktop";
    static constexpr auto kScheme = "x-scheme-handler/claude";

    explicit LinkClaim(QObject* parent = nullptr);

    // Writes the entry and starts xdg-mime; finished() follows either way.
    void start(const QString& executable);
    QString entryPath() const { return entryPath_; }  // empty when the entry could not be written

    static QByteArray entryText(const QString& executable);

signals:
    void finished(bool xdgMimeSucceeded);

private:
    QProcess* process_ = nullptr;
    QString entryPath_;
};
