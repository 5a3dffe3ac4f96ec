#pragma once

#include "platform/Installation.h"
#include "platform/Result.h"

#include <QObject>
#include <QString>
#include <QStringList>

namespace varrow::platform {

// Installations of an application that are not bundles (Claude's Linux package), and the
// per-account copies made of them. The base describes a platform that has none, and copies with
// what every file system has. Main thread.
class Installations : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // The installation (or copy) in a folder; none when the folder is not one.
    virtual InstallationRef installation(const QString& folder) { return (void)folder, nullptr; }
    // The installation whose main executable this is (as /proc/PID/exe shows it); empty for
    // anything else, its helpers included.
    virtual QString folderOfExecutable(const QString& executablePath) {
        return (void)executablePath, QString();
    }
    // Where an installed Claude may be, most preferred first: the bundle folders (/Applications,
    // then ~/Applications), then what the platform knows besides. The caller takes the first that
    // exists and is no account's copy.
    virtual QStringList claudeLocations();

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
