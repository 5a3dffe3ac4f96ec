#pragma once

#include "platform/Result.h"

#include <QObject>
#include <QString>
#include <functional>

namespace varrow::platform {

// The applications the desktop keeps at hand in its panel: one list per desktop, whatever keeps
// it. Reading and writing it may take a helper tool or a call to the shell, so neither waits:
// contains() answers from the list as last read. Main thread.
class PinnedApps : public QObject {
    Q_OBJECT
public:
    // What kind of list it is, so it can be worded for the user.
    enum class Kind {
        None,         // no list Varrow knows the desktop reads: nothing is offered
        Favourites,   // GNOME Shell's favourite applications (the dash)
        TaskManager,  // the launchers of KDE Plasma's task manager
    };
    using Done = std::function<void(Result<>)>;

    using QObject::QObject;

    // The list this desktop pins applications to.
    virtual Kind kind() const = 0;
    // Whether the application (a copy of Claude with its launcher entry) is pinned, as the list
    // was last read.
    virtual bool contains(const QString& appPath) const = 0;
    // Reads the list again; changed() follows when it differs.
    virtual void refresh() = 0;
    // Pins the application unless it is there; done runs later, on the main thread.
    virtual void add(const QString& appPath, Done done) = 0;

signals:
    void changed();
};

}  // namespace varrow::platform
