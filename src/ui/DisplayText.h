#pragma once

#include "platform/PinnedApps.h"

#include <QFont>
#include <QString>
#include <optional>

namespace varrow::ui {

// The one table that words this program's texts for this desktop: the Command key symbols become
// key names ("⇧⌘`" reads "Shift+Ctrl+`", "⌘N" reads "Ctrl+N", "⌘Tab" reads "Alt+Tab"), and the
// other platform's nouns become this one's ("this Mac" reads "this computer", Finder reads
// Files, and the Dock reads as whatever list this desktop pins applications to). A text that only
// makes sense with a list the desktop lacks comes out empty.
QString displayText(const QString& text, platform::PinnedApps::Kind pinned);
// The same for the pinned list the platform reports (none where no platform is installed).
QString displayText(const QString& text);
platform::PinnedApps::Kind pinnedList();

// The title of the item that pins an account's copy ("Claude Work"), or none where this desktop
// keeps no list Varrow knows: a pin nothing reads is no pin.
std::optional<QString> keepInDockTitle(const QString& copyName, platform::PinnedApps::Kind pinned);

// A name as one line: line breaks, tabs and other control characters become spaces, so a
// label never grows a second line whatever the account is called.
QString singleLine(const QString& text);
// singleLine, then cut with "…" to fit width in font.
QString elided(const QString& text, const QFont& font, int width);

}  // namespace varrow::ui
