#pragma once

#include <QFont>
#include <QString>

namespace varrow::ui {

// The one place where a user-facing text written with the Command key symbols is turned into
// this desktop's key names: "⇧⌘`" reads "Shift+Ctrl+`", "⌘N" reads "Ctrl+N", and the system's
// own application switcher "⌘Tab" reads "Alt+Tab". The ` of the cycle key reads as the current
// keyboard layout prints that key ("Ctrl+^" on a German layout).
QString displayText(const QString& text);

// A name as one line: line breaks, tabs and other control characters become spaces, so a
// label never grows a second line whatever the account is called.
QString singleLine(const QString& text);
// singleLine, then cut with "…" to fit width in font.
QString elided(const QString& text, const QFont& font, int width);

}  // namespace varrow::ui
