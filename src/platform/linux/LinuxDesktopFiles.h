#pragma once

#include "platform/DesktopFiles.h"
#include "platform/linux/BundleIcons.h"

#include <QHash>
#include <QImage>

namespace varrow::platform {
class Installations;
}

namespace varrow::platform::linux_ {

// Icons from the installation's theme entry or the hidden custom-icon file beside a copy, the
// file manager over the FileManager1 bus interface, URLs through the desktop's handler.
class LinuxDesktopFiles : public DesktopFiles {
    Q_OBJECT
public:
    // installations: what is an application besides bundles (its icon is the theme's), or null;
    // gio: the GIO tool for file managers' custom-icon metadata, or empty to skip it.
    explicit LinuxDesktopFiles(Installations* installations, QString gio = QStringLiteral("/usr/bin/gio"),
                               QObject* parent = nullptr);

    QImage icon(const QString& path, int pixels) override;
    bool setIcon(const QByteArray& png, const QString& path) override;
    bool showInFileManager(const QString& path) override;
    bool openUrl(const QUrl& url) override;

private:
    Installations* installations_;
    BundleIcons icons_;
    // Theme icons already looked up and scaled, by folder, size and version: every account's
    // copy starts from Claude's own icon, and finding and scaling it takes tens of milliseconds.
    QHash<QString, QImage> themeIcons_;
};

}  // namespace varrow::platform::linux_
