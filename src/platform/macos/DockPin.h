#pragma once

#include "platform/PinnedApps.h"

#include <QString>
#include <QVariantList>
#include <QVariantMap>
#include <optional>

namespace varrow::platform {

// Permanent application tiles in the Dock, kept in another application's preferences
// ("persistent-apps" of "com.apple.dock"): the pinned list wherever the desktop keeps no list of
// its own. Main thread.
class DockPin : public PinnedApps {
    Q_OBJECT
public:
    static constexpr auto kDomain = "com.apple.dock";
    static constexpr auto kKey = "persistent-apps";

    using PinnedApps::PinnedApps;

    // The URL text of a tile (tile-data → file-data → _CFURLString), or none when the tile
    // is not shaped that way.
    static std::optional<QString> url(const QVariantMap& tile);
    // The absolute URL text the Dock stores for a bundle: percent-encoded, ending with "/".
    static QString urlString(const QString& bundlePath);
    // The stored tiles; none when the stored value exists but is not a list of dictionaries.
    // A missing value is an empty list.
    static std::optional<QVariantList> tiles();
    static QVariantMap tile(const QString& bundlePath);

    Kind kind() override { return Kind::Dock; }
    bool contains(const QString& bundlePath) override;
    // Appends a tile unless one is already there. False, with nothing written, when the stored
    // value is not a list of tiles: writing a fresh list would throw away the user's items.
    bool add(const QString& bundlePath) override;
    // Drops tiles of applications under the folder that no longer exist; whether any went.
    bool removeMissing(const QString& folderPath) override;

private:
    static void write(const QVariantList& tiles);
};

}  // namespace varrow::platform
