#include "install/ClaudeInstallations.h"

#include "install/LauncherEntries.h"
#include "install/LinuxClaudeCopy.h"
#include "install/LinuxClaudeInstall.h"
#include "platform/ApplicationCopy.h"
#include "platform/SystemLog.h"

#include <QDir>
#include <QFileInfo>

namespace varrow::install {

std::optional<platform::Installations::Layout> ClaudeInstallations::layout(const QString& folder) {
    if (!LinuxClaudeInstall::isClaudeFolder(folder)) return std::nullopt;
    return Layout{QString::fromLatin1(LinuxClaudeInstall::kBundleIdentifier),
                  LinuxClaudeInstall::mainExecutable(folder)};
}

QString ClaudeInstallations::folderOfExecutable(const QString& executablePath) {
    return LinuxClaudeInstall::folderOfExecutable(executablePath);
}

QString ClaudeInstallations::displayName(const QString& folder) {
    return LinuxClaudeInstall::displayName(folder);
}

QStringList ClaudeInstallations::claudeLocations() {
    // Bundles first, then the package.
    QStringList locations = Installations::claudeLocations();
    if (const auto install = LinuxClaudeInstall::find()) locations.append(install->folder);
    return locations;
}

QImage ClaudeInstallations::icon(const QString& folder, int pixels) {
    // The package has no icon file of its own: its icon lives in the icon theme.
    if (!LinuxClaudeInstall::isClaudeFolder(folder)) return {};
    const QString fallback = QString::fromLatin1(LinuxClaudeInstall::kDefaultIcon);
    const auto install = LinuxClaudeInstall::find();
    const QString name = install && !install->iconName.isEmpty() ? install->iconName : fallback;
    QImage image = LinuxClaudeInstall::themeIcon(name, pixels);
    if (image.isNull() && name != fallback) image = LinuxClaudeInstall::themeIcon(fallback, pixels);
    return image;
}

QString ClaudeInstallations::windowClass(const QString& folder) {
    // Electron names its windows after its archive, whatever its entry or --class= say.
    if (LinuxClaudeInstall::isClaudeFolder(folder))
        if (QString identity = LinuxClaudeInstall::windowIdentityOf(folder); !identity.isEmpty())
            return identity;
    // Asked at every change of the active window; finding the package reads the launcher entries,
    // whose window class does not change while Varrow runs.
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    if (const auto known = windowClasses_.constFind(canonical); known != windowClasses_.cend()) return *known;
    const auto install = LinuxClaudeInstall::find();
    const QString windowClass = install && install->folder == canonical ? install->wmClass : QString();
    windowClasses_.insert(canonical, windowClass);
    return windowClass;
}

QString ClaudeInstallations::version(const QString& folder) {
    return LinuxClaudeInstall::versionOf(folder);
}

namespace {
// Electron takes the windows' class and app id from the archive's desktopName, not from --class=;
// naming the copy's launcher entry there lets that entry claim the copy's windows. A copy that
// cannot have it still runs, under the installation's class.
void giveOwnWindowClass(const QString& copyPath) {
    const QString name = LauncherEntries::stem(copyPath) + QStringLiteral(".desktop");
    if (const QString why = LinuxClaudeCopy::setDesktopName(copyPath, name); !why.isEmpty())
        platform::SystemLog::write(QStringLiteral("Varrow: %1 keeps Claude's window class: %2")
                                       .arg(LinuxClaudeInstall::displayName(copyPath), why));
}
}  // namespace

Result<> ClaudeInstallations::copyApplication(const QString& from, const QString& to) {
    const bool claude = LinuxClaudeInstall::isClaudeFolder(from);
    if (platform::ApplicationCopy::clone(from, to)) {
        if (claude) giveOwnWindowClass(to);
        return {};
    }
    // Without clones a full copy of an Electron build costs hundreds of megabytes.
    if (claude) {
        const QString error = LinuxClaudeCopy::makeLinked(from, to);
        if (!error.isEmpty()) return Failure{QStringLiteral("linked copy failed"), error};
        giveOwnWindowClass(to);
        return {};
    }
    return platform::ApplicationCopy::plainCopy(from, to);
}

QStringList ClaudeInstallations::copyLaunchArguments(const QString& copyPath) {
    if (!LinuxClaudeInstall::isClaudeFolder(copyPath)) return {};
    return {QStringLiteral("--class=") + LauncherEntries::windowClass(copyPath)};
}

void ClaudeInstallations::copyReady(const QString& copyPath, const QString& accountName,
                                    const QString& iconPath) {
    if (!LinuxClaudeInstall::isClaudeFolder(copyPath)) return;
    if (!claudeEntry_) {
        claudeEntry_ = std::make_unique<ClaudeUserEntry>();
        claudeEntry_->watch();
    }
    const QString icon =
        iconPath.isEmpty() ? QString::fromLatin1(LinuxClaudeInstall::kDefaultIcon) : iconPath;
    QString error;
    if (!LauncherEntries::write({copyPath, accountName, icon, LauncherEntries::program()}, &error))
        platform::SystemLog::write(QStringLiteral("Varrow: could not write the launcher entry: ") + error);
}

void ClaudeInstallations::copyRemoved(const QString& copyPath) {
    LauncherEntries::remove(copyPath);
}

void ClaudeInstallations::pruneCopyEntries(const QString& appsDir) {
    LauncherEntries::removeOrphans(appsDir);
}

}  // namespace varrow::install
