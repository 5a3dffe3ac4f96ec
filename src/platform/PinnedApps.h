#pragma once

#include <QObject>
#include <QString>

namespace varrow::platform {

// The applications the desktop keeps at hand (a dock, a dash of favourites): one list per
// desktop, whatever keeps it. Main thread.
class PinnedApps : public QObject {
    Q_OBJECT
public:
    // What kind of list it is, so it can be worded for the user.
    enum class Kind {
        None,        // no list Varrow knows the desktop reads: nothing is offered
        Dock,        // a stored list of application tiles, as the Dock keeps them
        Favourites,  // the desktop's own favourite applications (GNOME Shell's dash)
    };

    using QObject::QObject;

    // The list this desktop pins applications to.
    virtual Kind kind() = 0;
    // The list one application goes to: one the desktop cannot list as a favourite (it has no
    // launcher entry) goes to the Dock list.
    virtual Kind kindFor(const QString& appPath) { return (void)appPath, kind(); }

    virtual bool contains(const QString& appPath) = 0;
    // Adds the application unless it is there. False, with nothing written, when the list cannot
    // be changed safely (or at all).
    virtual bool add(const QString& appPath) = 0;
    // Drops the items of applications under the folder that no longer exist; whether any went.
    virtual bool removeMissing(const QString& folderPath) = 0;
};

}  // namespace varrow::platform
