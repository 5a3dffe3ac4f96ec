#include "platform/linux/LinuxDesktopFiles.h"

#include "platform/Installations.h"
#include "platform/linux/FileManagerReveal.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>

namespace varrow::platform::linux_ {

LinuxDesktopFiles::LinuxDesktopFiles(Installations* installations, QString gio, QObject* parent)
    : DesktopFiles(parent), installations_(installations), icons_(std::move(gio)) {}

QImage LinuxDesktopFiles::icon(const QString& path, int pixels) {
    // A Linux build has no icon file of its own: its icon lives in the icon theme.
    if (installations_ && !QFileInfo::exists(BundleIcons::customIconPath(path))) {
        if (const InstallationRef installation = installations_->installation(path)) {
            const QString key =
                QStringLiteral("%1\n%2\n%3").arg(path).arg(pixels).arg(installation->version());
            if (const auto known = themeIcons_.constFind(key); known != themeIcons_.cend()) return *known;
            if (QImage image = installation->icon(pixels); !image.isNull()) {
                if (themeIcons_.size() >= 8) themeIcons_.clear();
                themeIcons_.insert(key, image);
                return image;
            }
        }
    }
    return icons_.iconFor(path, pixels);
}

bool LinuxDesktopFiles::setIcon(const QByteArray& png, const QString& path) {
    return icons_.setIcon(png, path);
}

bool LinuxDesktopFiles::showInFileManager(const QString& path) {
    const QFileInfo info(QDir::cleanPath(path));
    if (!info.exists() && !info.isSymLink()) return false;
    FileManagerReveal::reveal(info.absoluteFilePath(), [](const QString& folder) {
        QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
    });
    return true;
}

bool LinuxDesktopFiles::openUrl(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

}  // namespace varrow::platform::linux_
