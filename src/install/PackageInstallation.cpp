#include "install/PackageInstallation.h"

#include "install/LinuxClaudeInstall.h"

#include <QFileInfo>

namespace varrow::install {

PackageInstallation::PackageInstallation(QString folder, QString executableName)
    : Installation(std::move(folder)), executableName_(std::move(executableName)) {}

std::shared_ptr<const PackageInstallation> PackageInstallation::at(const QString& folder) {
    if (!LinuxClaudeInstall::isClaudeFolder(folder)) return nullptr;
    return std::make_shared<const PackageInstallation>(folder, LinuxClaudeInstall::mainExecutable(folder));
}

QString PackageInstallation::executable() const {
    return QFileInfo(folder() + u'/' + executableName_).absoluteFilePath();
}

QString PackageInstallation::applicationId() const {
    return QString::fromLatin1(LinuxClaudeInstall::kApplicationId);
}

QString PackageInstallation::displayName() const {
    return LinuxClaudeInstall::displayName(folder());
}

QString PackageInstallation::version() const {
    return LinuxClaudeInstall::versionOf(folder());
}

QString PackageInstallation::windowClass() const {
    // Electron names its windows after its archive, whatever its entry or --class= say.
    if (QString identity = LinuxClaudeInstall::windowIdentityOf(folder()); !identity.isEmpty())
        return identity;
    // An archive that cannot be read: the launcher entry of the installed package may say.
    const auto install = LinuxClaudeInstall::find();
    return install && install->folder == QFileInfo(folder()).canonicalFilePath() ? install->wmClass
                                                                                 : QString();
}

QImage PackageInstallation::icon(int pixels) const {
    // The package has no icon file of its own: its icon lives in the icon theme.
    const QString fallback = QString::fromLatin1(LinuxClaudeInstall::kDefaultIcon);
    const auto install = LinuxClaudeInstall::find();
    const QString name = install && !install->iconName.isEmpty() ? install->iconName : fallback;
    QImage image = LinuxClaudeInstall::themeIcon(name, pixels);
    if (image.isNull() && name != fallback) image = LinuxClaudeInstall::themeIcon(fallback, pixels);
    return image;
}

}  // namespace varrow::install
