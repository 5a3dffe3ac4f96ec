#include "ui/DisplayText.h"

#include "platform/Platform.h"
#include "system/CycleHotKey.h"

#include <QFontMetrics>

namespace varrow::ui {

namespace {

using Kind = platform::PinnedApps::Kind;

// As written, then for a desktop with a task manager's launchers, with favourites, and with neither.
struct Wording {
    const char16_t* written;
    const char16_t* taskManager;
    const char16_t* favourites;
    const char16_t* none;
};

constexpr Wording kTable[] = {
    {u"this Mac", u"this computer", u"this computer", u"this computer"},
    {u"Show Data in Finder", u"Show Data in Files", u"Show Data in Files", u"Show Data in Files"},
    {u"Want an account in your Dock? Right-click it here and choose Keep in Dock.",
     u"Want an account in your task manager? Right-click it here and choose Pin to Task Manager.",
     u"Want an account in your favourites? Right-click it here and choose Add to Favorites.", nullptr},
    {u"in the Dock and ⌘Tab", u"in the task manager and ⌘Tab", u"in the dash and ⌘Tab",
     u"in the taskbar and ⌘Tab"},
    {u"⌘Tab", u"Alt+Tab", u"Alt+Tab", u"Alt+Tab"},
    {u"⇧⌘", u"Shift+Ctrl+", u"Shift+Ctrl+", u"Shift+Ctrl+"},
    {u"⌘", u"Ctrl+", u"Ctrl+", u"Ctrl+"},
};

}  // namespace

QString displayText(const QString& text, Kind pinned) {
    QString out = text;
    // The cycle key is a place on the keyboard, not a symbol: name it as the layout prints it.
    if (platform::Platform::isInstalled() && out.contains(QStringLiteral("⌘`")))
        out.replace(QStringLiteral("⌘`"),
                    QStringLiteral("⌘") + platform::Platform::hotKeys().keyLabel(system::CycleHotKey::kKey));
    for (const Wording& w : kTable) {
        const QString written = QString::fromUtf16(w.written);
        if (!out.contains(written)) continue;
        const char16_t* words = pinned == Kind::TaskManager  ? w.taskManager
                                : pinned == Kind::Favourites ? w.favourites
                                                             : w.none;
        if (!words) return {};
        out.replace(written, QString::fromUtf16(words));
    }
    return out;
}

QString displayText(const QString& text) {
    // Only texts about the Dock depend on the desktop's list; the rest need not ask for it.
    return displayText(text, text.contains(u"Dock") ? pinnedList() : Kind::None);
}

Kind pinnedList() {
    return platform::Platform::isInstalled() ? platform::Platform::pinnedApps().kind() : Kind::None;
}

std::optional<QString> keepInDockTitle(const QString& copyName, Kind pinned) {
    switch (pinned) {
        case Kind::TaskManager:
            // Plasma's own words for it.
            return QStringLiteral("Pin “") + copyName + QStringLiteral("” to Task Manager");
        case Kind::Favourites:
            // GNOME Shell's own words for it.
            return QStringLiteral("Add “") + copyName + QStringLiteral("” to Favorites");
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
