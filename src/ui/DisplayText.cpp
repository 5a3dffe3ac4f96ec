#include "ui/DisplayText.h"

#include <QFontMetrics>

namespace varrow::ui {

QString displayText(const QString& text) {
    QString out = text;
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
