#include "install/ClaudeInstallations.h"

#include "install/LauncherEntries.h"
#include "install/LinuxClaudeCopy.h"
#include "install/LinuxClaudeInstall.h"
#include "install/PackageInstallation.h"
#include "platform/ApplicationCopy.h"
#include "platform/SystemLog.h"

namespace varrow::install {

platform::InstallationRef ClaudeInstallations::installation(const QString& folder) {
    return PackageInstallation::at(folder);
}

QString ClaudeInstallations::folderOfExecutable(const QString& executablePath) {
    return LinuxClaudeInstall::folderOfExecutable(executablePath);
}

QStringList ClaudeInstallations::claudeLocations() {
    // Bundles first, then the package.
    QStringList locations = Installations::claudeLocations();
    if (const auto install = LinuxClaudeInstall::find()) locations.append(install->folder);
    return locations;
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
