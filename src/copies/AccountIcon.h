#pragma once

#include "model/Profile.h"

#include <QFont>
#include <QImage>
#include <QString>
#include <optional>

namespace varrow::platform {
class DesktopFiles;
}

namespace varrow::copies {

// The icon of an account's copy: Claude's icon recoloured to the account colour, with a white
// badge carrying the initials in the lower right corner.
namespace AccountIcon {

constexpr int kCanvas = 1024;

// "v2|<colour>|<initials>": changes exactly when the drawn icon would.
QString iconSignature(const model::Profile& profile);

// The system icon of `source` drawn into a pixels × pixels premultiplied RGBA bitmap and
// recoloured; none when such a bitmap cannot be made.
std::optional<QImage> recolouredBase(platform::DesktopFiles& files, const QString& source,
                                     model::ProfileColor colour, int pixels);
std::optional<QImage> recolouredBase(const QImage& icon, model::ProfileColor colour, int pixels);

// The finished 1024 × 1024 icon; none when the base could not be made.
std::optional<QImage> renderIcon(platform::DesktopFiles& files, const model::Profile& profile,
                                 const QString& source);
// The same from Claude's own icon as given: no platform service is asked, so it may run on a
// worker thread.
std::optional<QImage> renderIcon(const model::Profile& profile, const QImage& claudeIcon);
// renderIcon, encoded as PNG; empty when it cannot be made. For a worker thread.
QByteArray renderIconPng(const model::Profile& profile, const QImage& claudeIcon);

// The badge font: Quicksand Bold when the font package is there, else the default font at the
// heaviest weight; 210 pixels for one UTF-16 unit of initials, 165 otherwise.
QFont badgeFont(const QString& initials);
int badgeFontSize(const QString& initials);

}  // namespace AccountIcon
}  // namespace varrow::copies
