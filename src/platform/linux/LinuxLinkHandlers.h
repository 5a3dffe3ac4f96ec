#pragma once

#include "platform/LinkHandlers.h"

#include <QFileSystemWatcher>
#include <QTimer>

namespace varrow::platform::linux_ {

// URL-scheme handlers as freedesktop desktops keep them: an entry
// ~/.local/share/applications/varrow-link.desktop (NoDisplay, Exec "<varrow> open-link %u"),
// and the default in the user's mimeapps.list, read and set with xdg-mime (gio mime where
// xdg-mime is missing).
class LinuxLinkHandlers : public LinkHandlers {
    Q_OBJECT
public:
    static constexpr auto kEntryName = "varrow-link.desktop";

    // Empty values mean the user's applications folder, configuration folder and this executable.
    explicit LinuxLinkHandlers(QString applicationsFolder = {}, QString configFolder = {},
                               QString executable = {}, QObject* parent = nullptr);

    QString entryPath() const;
    QString mimeappsPath() const;

    QString ownHandler() override { return QString::fromLatin1(kEntryName); }
    bool installOwnHandler(const QString& scheme, QString* error) override;
    void removeOwnHandler() override;
    QString defaultHandler(const QString& scheme) override;
    QString userHandler(const QString& scheme) override;
    bool setDefaultHandler(const QString& scheme, const QString& handler, QString* error) override;
    // Watches mimeapps.list with inotify: no polling, and a write lands as one signal.
    void watchUserChoices() override;

    // The [Default Applications] line for a type, as mimeapps.list text holds it; empty when none.
    static QString defaultIn(const QByteArray& mimeapps, const QString& type);
    // The text without that line (everything else byte for byte).
    static QByteArray withoutDefault(const QByteArray& mimeapps, const QString& type);

private:
    void mimeappsMayHaveChanged();
    // The default the user's own lists give an installed entry; empty where they give none.
    QString decidedByUser(const QString& type) const;
    bool entryInstalled(const QString& id) const;

    QFileSystemWatcher* watcher_ = nullptr;
    QTimer* settle_ = nullptr;
    QByteArray lastSeen_;  // mimeapps.list as last read, to tell real changes from others
    QString applications_;
    QString config_;
    QString executable_;
};

}  // namespace varrow::platform::linux_
