#pragma once

#include <sys/types.h>
#include <QList>
#include <QMap>
#include <QObject>
#include <QSet>
#include <QString>

namespace varrow::platform::gnome {

// Varrow's end of its GNOME Shell extension: what the shell knows about windows, asked and heard
// without waiting. Requests are remembered and sent again whenever the extension (re)appears, so a
// caller states what it wants once.
class ExtensionLink : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // The extension runs in the shell and has answered this program.
    virtual bool isAvailable() const = 0;
    // The processes whose windows count: their windows are reported, and the keys are held while
    // one of them is in front.
    virtual void watch(const QList<pid_t>& pids) = 0;
    // Brings the process's most recent window forward, restoring it when minimized.
    virtual void activate(pid_t pid) = 0;
    // Keys by id, as accelerators ("<Control>grave"); an empty set holds none.
    virtual void grabKeys(const QMap<QString, QString>& keys) = 0;

signals:
    void availabilityChanged();
    // The process whose window has the focus; 0 for none or one whose owner is unknown.
    void focusChanged(pid_t pid);
    // The watched processes that have a normal window.
    void windowsChanged(const QSet<pid_t>& withWindows);
    void keyPressed(const QString& id);
};

}  // namespace varrow::platform::gnome
