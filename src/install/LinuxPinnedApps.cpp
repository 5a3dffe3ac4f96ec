#include "install/LinuxPinnedApps.h"

#include "install/LauncherEntries.h"
#include "install/ShellFavourites.h"

#include <QFileInfo>

namespace varrow::install {

// Only GNOME Shell's favourites are known: other desktops keep their panels' launchers in files of
// their own, and the schema alone (installed on many desktops) says nothing about who reads it.
platform::PinnedApps::Kind LinuxPinnedApps::kind() {
    // The desktop does not change while Varrow runs; ask gsettings once.
    if (!keepsFavourites_) {
        const QStringList desktops = qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(u':');
        keepsFavourites_ = desktops.contains(QStringLiteral("GNOME"), Qt::CaseInsensitive) &&
                           ShellFavourites::read().has_value();
    }
    return *keepsFavourites_ ? Kind::Favourites : Kind::None;
}

std::optional<QString> LinuxPinnedApps::favouriteId(const QString& appPath) {
    const QString entry = LauncherEntries::entryPath(appPath);
    if (!QFileInfo::exists(entry) || !ShellFavourites::read()) return std::nullopt;
    return QFileInfo(entry).fileName();
}

platform::PinnedApps::Kind LinuxPinnedApps::kindFor(const QString& appPath) {
    return favouriteId(appPath) ? Kind::Favourites : Kind::Dock;
}

bool LinuxPinnedApps::contains(const QString& appPath) {
    const QString entry = LauncherEntries::entryPath(appPath);
    if (QFileInfo::exists(entry)) {
        if (const auto ids = ShellFavourites::read()) return ids->contains(QFileInfo(entry).fileName());
    }
    return dock_.contains(appPath);
}

bool LinuxPinnedApps::add(const QString& appPath) {
    if (const auto id = favouriteId(appPath)) return ShellFavourites::add(*id);
    return dock_.add(appPath);
}

bool LinuxPinnedApps::removeMissing(const QString& folderPath) {
    // The desktop drops favourites whose launcher entry went; only the Dock list needs this.
    return dock_.removeMissing(folderPath);
}

}  // namespace varrow::install
