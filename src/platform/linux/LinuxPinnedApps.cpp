#include "platform/linux/LinuxPinnedApps.h"

#include "platform/linux/LauncherEntries.h"
#include "platform/linux/ShellFavourites.h"

#include <QFileInfo>

namespace varrow::platform::linux_ {

PinnedApps::Kind LinuxPinnedApps::kind() {
    if (!keepsFavourites_) keepsFavourites_ = ShellFavourites::read().has_value();
    return *keepsFavourites_ ? Kind::Favourites : Kind::Dock;
}

std::optional<QString> LinuxPinnedApps::favouriteId(const QString& appPath) {
    const QString entry = LauncherEntries::entryPath(appPath);
    if (!QFileInfo::exists(entry) || !ShellFavourites::read()) return std::nullopt;
    return QFileInfo(entry).fileName();
}

PinnedApps::Kind LinuxPinnedApps::kindFor(const QString& appPath) {
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

}  // namespace varrow::platform::linux_
