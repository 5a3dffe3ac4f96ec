#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace varrow::platform::linux_ {

// Which application opens a MIME type, read the way freedesktop desktops read it: the
// mimeapps.list files (the desktop's own before the common one) in the user's configuration,
// the system's configuration and the applications folders, then the applications' declared types
// (mimeinfo.cache). Plain file reads: no helper tool, so asking never waits on a process.
class MimeApps {
public:
    struct Folders {
        QString userConfig;           // ~/.config
        QStringList configDirs;       // XDG_CONFIG_DIRS
        QString userApplications;     // ~/.local/share/applications
        QStringList applicationDirs;  // XDG_DATA_DIRS, each with /applications
        QStringList desktops;         // XDG_CURRENT_DESKTOP, lower case
    };
    // The session's folders; empty arguments mean the user's own.
    static Folders fromEnvironment(const QString& userConfig, const QString& userApplications);

    explicit MimeApps(Folders folders);

    // The entry the type opens with; empty when no installed entry is named or declares it.
    QString defaultFor(const QString& type) const;
    // The user's list whose default for the type applies now, else the common one: a new default
    // written there takes effect.
    QString userListFor(const QString& type) const;
    bool installed(const QString& id) const;

    // The [Default Applications] line for a type in mimeapps.list text; empty when none.
    static QString defaultIn(const QByteArray& mimeapps, const QString& type);
    // The text with the type's default set to the entry (the group made where missing), or
    // without it for an empty entry; every other line byte for byte.
    static QByteArray withDefault(const QByteArray& mimeapps, const QString& type, const QString& id);

private:
    // The lists in the order they decide, for the folders given.
    QStringList lists(const QStringList& folders) const;

    Folders folders_;
};

}  // namespace varrow::platform::linux_
