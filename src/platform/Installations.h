#pragma once

#include "platform/Result.h"

#include <QImage>
#include <QObject>
#include <QString>
#include <QStringList>
#include <optional>

namespace varrow::platform {

// Installations of an application that are not bundles (Claude's Linux package), and the
// per-account copies made of them. The base describes a platform that has none, and copies with
// what every file system has. Main thread.
class Installations : public QObject {
    Q_OBJECT
public:
    // How such an installation starts: who it is and which executable in its folder is the
    // application (the others are helpers).
    struct Layout {
        QString bundleIdentifier;
        QString executable;
    };

    using QObject::QObject;

    // The installation (or copy) in a folder; none when the folder is not one.
    virtual std::optional<Layout> layout(const QString& folder) { return (void)folder, std::nullopt; }
    bool isInstallation(const QString& folder) { return layout(folder).has_value(); }
    // The installation whose main executable this is (as /proc/PID/exe shows it); empty for
    // anything else, its helpers included.
    virtual QString folderOfExecutable(const QString& executablePath) {
        return (void)executablePath, QString();
    }
    // The name the desktop shows for it: "Claude", or "Claude Work" for a copy.
    virtual QString displayName(const QString& folder) { return (void)folder, QString(); }
    // Where an installed Claude may be, most preferred first: the bundle folders (/Applications,
    // then ~/Applications), then what the platform knows besides. The caller takes the first that
    // exists and is no account's copy.
    virtual QStringList claudeLocations();
    // Its icon from the desktop's theme; a null image when it has none there.
    virtual QImage icon(const QString& folder, int pixels) { return (void)folder, (void)pixels, QImage(); }
    // The app id (X11 window class) its windows carry when it is started without --class=; empty
    // when the installation does not say.
    virtual QString windowClass(const QString& folder) { return (void)folder, QString(); }
    // Its version, or "?" when it cannot be read.
    virtual QString version(const QString& folder) { return (void)folder, QStringLiteral("?"); }

    // The cheapest copy of an application that still runs as its own application: a clone where
    // the file system has them, else what the installation allows that is cheaper, else a plain
    // copy. Nothing may be at `to`. The failure carries the copy tool's own reason.
    virtual Result<> copyApplication(const QString& from, const QString& to);
    // Arguments a copy needs besides the account's data folder (its own window class, say).
    virtual QStringList copyLaunchArguments(const QString& copyPath) { return (void)copyPath, QStringList(); }
    // Keeps the desktop's application launcher in step with the copies.
    virtual void copyReady(const QString& copyPath, const QString& accountName, const QString& iconPath) {
        (void)copyPath, (void)accountName, (void)iconPath;
    }
    virtual void copyRemoved(const QString& copyPath) { (void)copyPath; }
    virtual void pruneCopyEntries(const QString& appsDir) { (void)appsDir; }
};

}  // namespace varrow::platform
