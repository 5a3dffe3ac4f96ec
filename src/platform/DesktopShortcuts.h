#pragma once

#include <QList>
#include <QObject>
#include <QString>

namespace varrow::platform {

// Shortcuts the desktop itself holds for this program, where no program may grab keys (native
// Wayland): a named set, bound once and kept while wanted, whose keys the user may change in the
// desktop's own settings. The desktop takes the key whatever is in front, so a press reaches this
// program even where another application would have wanted it.
class DesktopShortcuts : public QObject {
    Q_OBJECT
public:
    struct Shortcut {
        QString id;
        QString description;  // shown in the desktop's settings
        Qt::Key key;          // the key asked for; the desktop may give another
        Qt::KeyboardModifiers modifiers;
        bool operator==(const Shortcut&) const = default;
    };

    using QObject::QObject;

    // Binds these shortcuts in place of the previous set; an empty set gives all of them up.
    virtual void bind(const QList<Shortcut>& shortcuts) = 0;
    // Whether the desktop offers shortcuts to programs: false until it is known to.
    virtual bool isAvailable() const = 0;

signals:
    void activated(const QString& id);
    void availabilityChanged();
};

}  // namespace varrow::platform
