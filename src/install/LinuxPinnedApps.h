#pragma once

#include "platform/DockPin.h"

#include <optional>

namespace varrow::install {

// GNOME Shell's favourites where the desktop keeps them, for applications that have a launcher
// entry (copies of Claude's Linux package); the Dock list for everything else.
class LinuxPinnedApps : public platform::PinnedApps {
    Q_OBJECT
public:
    using PinnedApps::PinnedApps;

    // Favourites where GNOME Shell keeps them (asked once); none elsewhere.
    Kind kind() override;
    Kind kindFor(const QString& appPath) override;
    bool contains(const QString& appPath) override;
    bool add(const QString& appPath) override;
    bool removeMissing(const QString& folderPath) override;

private:
    // The launcher entry's id when the application goes to the favourites; none for the Dock list.
    std::optional<QString> favouriteId(const QString& appPath);

    platform::DockPin dock_;
    std::optional<bool> keepsFavourites_;
};

}  // namespace varrow::install
