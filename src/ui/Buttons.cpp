#include "ui/Buttons.h"

#include "ui/Symbols.h"
#include "ui/Theme.h"

namespace varrow::ui::buttons {

namespace {
QString rgba(const QColor& c) {
    return QStringLiteral("rgba(%1,%2,%3,%4)").arg(c.red()).arg(c.green()).arg(c.blue()).arg(c.alphaF());
}
}  // namespace

void makeProminent(QPushButton* b) {
    b->setDefault(true);
    b->setAutoDefault(true);
    theme::restyle(b, [](QWidget* w, const QPalette& pal) {
        const QColor accent = pal.color(QPalette::Highlight);
        w->setStyleSheet(
            QStringLiteral("QPushButton { background: %1; color: white; border: none; border-radius: 6px;"
                           " padding: 4px 14px; font-weight: 600; }"
                           "QPushButton:pressed { background: %2; }"
                           "QPushButton:disabled { background: %3; color: %4; }")
                .arg(rgba(accent), rgba(accent.darker(115)), rgba(theme::primary(pal, 0.1)),
                     rgba(theme::tertiary(pal))));
    });
}

void makeBordered(QPushButton* b) {
    b->setAutoDefault(false);
    theme::restyle(b, [](QWidget* w, const QPalette& pal) {
        w->setStyleSheet(
            QStringLiteral("QPushButton { background: %1; color: %2; border: 1px solid %3;"
                           " border-radius: 6px; padding: 4px 14px; }"
                           "QPushButton:pressed { background: %4; }")
                .arg(rgba(theme::isDark(pal) ? QColor(255, 255, 255, 40) : QColor(255, 255, 255)),
                     rgba(theme::primary(pal)), rgba(theme::primary(pal, 0.14)),
                     rgba(theme::primary(pal, 0.1))));
    });
}

void makeLarge(QPushButton* b) {
    b->setMinimumHeight(30);
    QFont f = theme::font(13, b->font().weight());
    b->setFont(f);
}

QToolButton* borderless(const QString& text, const QString& symbol, QWidget* parent) {
    auto* b = new QToolButton(parent);
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::TabFocus);
    b->setCursor(Qt::PointingHandCursor);
    b->setIconSize(QSize(16, 16));
    b->setFont(theme::font(13));
    if (text.isEmpty()) {
        b->setToolButtonStyle(Qt::ToolButtonIconOnly);
    } else {
        b->setText(text);
        b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    }
    theme::restyle(b, [symbol](QWidget* w, const QPalette& pal) {
        auto* button = static_cast<QToolButton*>(w);
        button->setIcon(QIcon(symbols::pixmap(symbol, 16, theme::secondary(pal))));
        button->setStyleSheet(QStringLiteral("QToolButton { border: none; background: transparent; color: %1;"
                                             " padding: 2px 4px; border-radius: 5px; }"
                                             "QToolButton:hover { background: %2; }")
                                  .arg(rgba(theme::secondary(pal)), rgba(theme::primary(pal, 0.06))));
    });
    return b;
}

}  // namespace varrow::ui::buttons
