#pragma once

#include "platform/Result.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

namespace varrow::install {

// Puts Varrow's GNOME Shell extension where the shell finds it at the next login and enables it
// for this user, through gsettings, without waiting on either. What it found and did is reported
// once through finished(); nothing the user turned off is turned on.
class ShellExtensionInstaller : public QObject {
    Q_OBJECT
public:
    enum class Outcome {
        Enabled,         // installed where needed and added to enabled-extensions
        AlreadyEnabled,  // it was there and enabled already
        DisabledByUser,  // in disabled-extensions: left so
        ExtensionsOff,   // disable-user-extensions is set: every extension is off
        Failed,          // gsettings or the files failed; see the message
    };
    Q_ENUM(Outcome)

    struct Places {
        QString userExtensions;                            // ~/.local/share/gnome-shell/extensions
        QStringList systemExtensions;                      // the data folders' gnome-shell/extensions
        QString builds = QStringLiteral(":/gnome-shell");  // <first version>/<uuid>/ per build
        QString gsettings = QStringLiteral("gsettings");
    };

    explicit ShellExtensionInstaller(Places places, QObject* parent = nullptr);
    // The places of this session (XDG data folders, the builds compiled into Varrow).
    static Places sessionPlaces();
    static QString uuid();

    // Reads the settings and the shell's version, then installs and enables as needed.
    void run();

    // Takes the extension out of this user's enabled-extensions and removes the copy Varrow put in
    // the user's extensions folder (the package's system-wide copy stays for other users). done
    // gets whether anything was there to take away. Without GNOME's settings nothing is enabled.
    void removeForUser(std::function<void(Result<bool>)> done);

    // The build for a shell version ("43.9" takes the 43 build, "46.2" the 45 one); empty when no
    // build serves it.
    static QString buildFor(const QString& shellVersion);

signals:
    void finished(varrow::install::ShellExtensionInstaller::Outcome outcome, const QString& message);

private:
    using Done = std::function<void(const Result<QString>& output)>;
    void gsettings(const QStringList& arguments, Done done);
    void setEnabled(const QStringList& uuids, Done done);
    void read(const QString& key, std::function<void(const QString&)> next);
    void haveSettings();
    void install(const QString& shellVersion);
    bool copyBuild(const QString& build, QString* error);
    bool systemCopyServes(const QString& shellVersion) const;
    void fail(const QString& message);

    Places places_;
    QStringList enabled_, disabled_;
    bool extensionsOff_ = false;
};

}  // namespace varrow::install
