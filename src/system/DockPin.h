#pragma once

#include <QString>
#include <QVariantList>
#include <QVariantMap>
#include <optional>

namespace varrow::system {

// Permanent application tiles in the Dock, kept in another application's preferences
// ("persistent-apps" of "com.apple.dock"). Stateless; main thread.
class DockPin {
public:
    static constexpr auto kDomain = "com.apple.dock";
    static constexpr auto kKey = "persistent-apps";

    // The URL text of a tile (tile-data → file-data → _CFURLString), or none when the tile
    // is not shaped that way.
    static std::optional<QString> url(const QVariantMap& tile);
    // The absolute URL text the Dock stores for a bundle: percent-encoded, ending with "/".
    static QString urlString(const QString& bundlePath);
    // The stored tiles; none when the stored value exists but is not a list of dictionaries.
    // A missing value is an empty list.
    static std::optional<QVariantList> tiles();

    static bool isPinned(const QString& bundlePath);
    // Appends a tile unless one is already there. False, with nothing written, when the stored
    // value is not a list of tiles: writing a fresh list would throw away the user's items.
    static bool add(const QString& bundlePath);
    // Drops tiles of applications under the folder that no longer exist; whether any went.
    static bool removeMissing(const QString& folderPath);

    static QVariantMap tile(const QString& bundlePath);

private:
    static void write(const QVariantList& tiles);
};

}  // namespace varrow::system
