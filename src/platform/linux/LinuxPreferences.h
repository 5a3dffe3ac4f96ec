#pragma once

#include "platform/AppPreferences.h"

#include <QDateTime>
#include <QHash>

namespace varrow::platform::linux_ {

// Other applications' preferences, one XML property list per domain in
// <folder>/<domain>.plist (by default ~/.config/Varrow/preferences). Values set are kept in
// memory until synchronize() writes them; a domain that was not changed here is reread when its
// file changes.
class LinuxPreferences : public AppPreferences {
    Q_OBJECT
public:
    // An empty folder means the default one.
    explicit LinuxPreferences(QString folder = {}, QObject* parent = nullptr);

    static QString defaultFolder();
    // The file of a domain; empty for a name that is not a plain file name.
    QString fileFor(const QString& domain) const;

    QVariant copyAppValue(const QString& key, const QString& domain) override;
    // An invalid value removes the key.
    void setAppValue(const QString& key, const QVariant& value, const QString& domain) override;
    bool synchronize(const QString& domain) override;
    // Nothing on Linux reads these domains, so there is no program to restart.
    void restartOwner(const QString& domain) override;

private:
    struct Domain {
        QVariantMap values;
        QDateTime loadedModified;
        bool loaded = false;
        bool dirty = false;
        bool unreadable = false;  // the file holds something else than a dictionary
    };
    Domain* load(const QString& domain);

    QString folder_;
    QHash<QString, Domain> domains_;
};

}  // namespace varrow::platform::linux_
