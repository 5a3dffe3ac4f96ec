#pragma once

#include "platform/PinnedApps.h"

#include <QCoreApplication>
#include <QFont>
#include <QString>
#include <functional>
#include <optional>

namespace varrow::ui {

// What a text needs to know about the desktop it is shown on, handed in by whoever builds the
// view: the kind of list the desktop pins applications to, and the cycle key as the keyboard
// layout prints it. Texts are written in this desktop's words; only these two vary.
class DesktopWords {
    Q_DECLARE_TR_FUNCTIONS(DesktopWords)
public:
    platform::PinnedApps::Kind pinned = platform::PinnedApps::Kind::None;
    // The layout's label of the cycle key; "`" when unset.
    std::function<QString()> cycleKeyLabel;

    // "Ctrl+N"; the key as given.
    static QString ctrl(const QString& key);
    // "Ctrl+`" and "Shift+Ctrl+`" with the current layout's label.
    QString cycleKey() const;
    QString cycleBackKey() const;

    // Where an account's own icon shows up on this desktop (a help line).
    QString iconsShownIn() const;
    // How to pin an account (a help line); none where the desktop keeps no list Varrow knows.
    std::optional<QString> pinHint() const;
    // The title of the item that pins an account's copy ("Claude Work"), or none where this
    // desktop keeps no list Varrow knows: a pin nothing reads is no pin.
    std::optional<QString> keepTitle(const QString& copyName) const;
};

// A name as one line: line breaks, tabs and other control characters become spaces, so a
// label never grows a second line whatever the account is called.
QString singleLine(const QString& text);
// singleLine, then cut with "…" to fit width in font.
QString elided(const QString& text, const QFont& font, int width);

}  // namespace varrow::ui
