#include "ui/DisplayText.h"

#include "platform/Platform.h"
#include "system/CycleHotKey.h"

#include <QFontMetrics>

namespace varrow::ui {

QString displayText(const QString& text) {
    QString out = text;
    // The cycle key is a place on the keyboard, not a symbol: name it as the layout prints it.
    if (platform::Platform::isInstalled() && out.contains(QStringLiteral("⌘`")))
        out.replace(QStringLiteral("⌘`"),
                    QStringLiteral("⌘") + platform::Platform::hotKeys().keyLabel(system::CycleHotKey::kKey));
    out.replace(QStringLiteral("⌘Tab"), QStringLiteral("Alt+Tab"));
    out.replace(QStringLiteral("⇧⌘"), QStringLiteral("Shift+Ctrl+"));
    out.replace(QStringLiteral("⌘"), QStringLiteral("Ctrl+"));
    return out;
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
