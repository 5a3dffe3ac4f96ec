#pragma once

#include "platform/LinkHandlers.h"
#include "platform/linux/MimeApps.h"

#include <QFileSystemWatcher>
#include <QTimer>

namespace varrow::platform::linux_ {

// URL-scheme handlers as freedesktop desktops keep them: an entry
// ~/.local/share/applications/varrow-link.desktop (NoDisplay, Exec "<varrow> open-link %u"),
// and the default in the user's mimeapps.list, read and written directly, as the desktops' own
// tools do.
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
    Result<> installOwnHandler(const QString& scheme) override;
    void removeOwnHandler() override;
    QString defaultHandler(const QString& scheme) override;
    QString userHandler(const QString& scheme) override;
    Result<> setDefaultHandler(const QString& scheme, const QString& handler) override;
    // Watches mimeapps.list with inotify: no polling, and a write lands as one signal.
    void watchUserChoices() override;

private:
    void mimeappsMayHaveChanged();
    MimeApps mimeApps() const;

    QFileSystemWatcher* watcher_ = nullptr;
    QTimer* settle_ = nullptr;
    QByteArray lastSeen_;  // mimeapps.list as last read, to tell real changes from others
    QString applications_;
    QString config_;
    QString executable_;
};

}  // namespace varrow::platform::linux_
