#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace varrow::install {

// GNOME Shell's favourite applications (the dash), read and written with gsettings.
class ShellFavourites {
public:
    // The desktop-entry ids in the list, or none when this desktop keeps no such list.
    static std::optional<QStringList> read();
    // Appends an id unless it is there; false when the list cannot be written.
    static bool add(const QString& entryId);

    // GVariant text of a string array ("['a.desktop', 'b.desktop']", or "@as []"), both ways.
    static std::optional<QStringList> parse(const QString& text);
    static QString format(const QStringList& ids);

private:
    static QString tool();
};

}  // namespace varrow::install
