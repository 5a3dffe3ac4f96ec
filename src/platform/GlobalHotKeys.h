#pragma once

#include <QKeySequence>
#include <QObject>
#include <QString>
#include <optional>

namespace varrow::platform {

// System-wide hot keys. A key is named by what it carries on a US layout and means that physical
// key on every layout: Qt::Key_QuoteLeft is the key left of 1, whether it prints ` or ^ or ².
// Qt::ControlModifier is Control here and Command on a Mac, as everywhere in Qt.
class GlobalHotKeys : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // A reference for unregister(), or none when the key could not be registered
    // (for example because another application holds it).
    virtual std::optional<quint64> registerHotKey(quint32 signature, quint32 id, Qt::Key key,
                                                  Qt::KeyboardModifiers modifiers) = 0;
    virtual void unregisterHotKey(quint64 ref) = 0;

    // What the current keyboard layout prints on the key, for showing it to the user.
    virtual QString keyLabel(Qt::Key key) { return QKeySequence(key).toString(QKeySequence::NativeText); }

signals:
    // A registered key was pressed; carries the signature and identifier it was registered with.
    void pressed(quint32 signature, quint32 id);
    // The keyboard map or layout changed: keyLabel() may read differently.
    void keyboardChanged();
};

}  // namespace varrow::platform
