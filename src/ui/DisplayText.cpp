#include "ui/DisplayText.h"

#include <QFontMetrics>

namespace varrow::ui {

using Kind = platform::PinnedApps::Kind;

QString DesktopWords::ctrl(const QString& key) {
    return tr("Ctrl+%1", "a key pressed with Control").arg(key);
}

QString DesktopWords::cycleKey() const {
    return ctrl(cycleKeyLabel ? cycleKeyLabel() : QStringLiteral("`"));
}

QString DesktopWords::cycleBackKey() const {
    return tr("Shift+Ctrl+%1", "a key pressed with Shift and Control")
        .arg(cycleKeyLabel ? cycleKeyLabel() : QStringLiteral("`"));
}

QString DesktopWords::iconsShownIn() const {
    switch (pinned) {
        case Kind::Favourites:
            return tr(
                "Each account gets its own coloured Claude icon and name, like “Claude Work”, in the dash "
                "and Alt+Tab.");
        case Kind::TaskManager:
            return tr(
                "Each account gets its own coloured Claude icon and name, like “Claude Work”, in the task "
                "manager and Alt+Tab.");
        case Kind::None:
            break;
    }
    return tr(
        "Each account gets its own coloured Claude icon and name, like “Claude Work”, in the taskbar "
        "and Alt+Tab.");
}

std::optional<QString> DesktopWords::pinHint() const {
    // Each desktop's own words for its list and the item that adds to it.
    switch (pinned) {
        case Kind::Favourites:
            return tr(
                "Want an account in your favourites? Right-click it here and choose Add to Favorites. It "
                "shows up as “Claude Work” in its own colour.");
        case Kind::TaskManager:
            return tr(
                "Want an account in your task manager? Right-click it here and choose Pin to Task Manager. "
                "It shows up as “Claude Work” in its own colour.");
        case Kind::None:
            break;
    }
    return std::nullopt;
}

std::optional<QString> DesktopWords::keepTitle(const QString& copyName) const {
    switch (pinned) {
        case Kind::Favourites:
            return tr("Add “%1” to Favorites", "GNOME Shell's own words").arg(copyName);
        case Kind::TaskManager:
            return tr("Pin “%1” to Task Manager", "KDE Plasma's own words").arg(copyName);
        case Kind::None:
            break;
    }
    return std::nullopt;
}

QString singleLine(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        const bool breaks = c.category() == QChar::Other_Control || c == QChar::LineSeparator ||
                            c == QChar::ParagraphSeparator;
        out += breaks ? QChar(u' ') : c;
    }
    return out;
}

QString elided(const QString& text, const QFont& font, int width) {
    return QFontMetrics(font).elidedText(singleLine(text), Qt::ElideRight, std::max(0, width));
}

}  // namespace varrow::ui
