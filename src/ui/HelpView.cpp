#include "ui/HelpView.h"

#include "ui/DisplayText.h"
#include "ui/Symbols.h"
#include "ui/Theme.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace varrow::ui {

QList<QPair<QString, QString>> HelpView::rows() {
    const QList<QPair<QString, QString>> written{
        {QStringLiteral("hand.tap"),
         QStringLiteral("Click an account to open it. If it's already open, it comes to the front.")},
        {QStringLiteral("rectangle.on.rectangle"),
         QStringLiteral(
             "Accounts can be open side by side. Each one has its own sign-in, chats, settings and "
             "connectors.")},
        {QStringLiteral("person.badge.key"),
         QStringLiteral(
             "A new account opens to the Claude sign-in screen. Sign in once with the email you want "
             "for it.")},
        {QStringLiteral("paintpalette"),
         QStringLiteral(
             "Each account gets its own coloured Claude icon and name, like “Claude Work”, in the Dock "
             "and ⌘Tab.")},
        {QStringLiteral("command"),
         QStringLiteral("While you're in Claude, ⌘` jumps to the next open account. The switcher tab on the "
                        "screen edge works too.")},
        {QStringLiteral("pin"),
         QStringLiteral(
             "Want an account in your Dock? Right-click it here and choose Keep in Dock. It shows up as "
             "“Claude Work” in its own colour.")},
    };
    QList<QPair<QString, QString>> out;
    for (const auto& [icon, text] : written) {
        // A row about a list this desktop does not have is left out.
        const QString shown = displayText(text);
        if (!shown.isEmpty()) out.append({icon, shown});
    }
    return out;
}

HelpView::HelpView(QWidget* parent) : QWidget(parent) {
    setFixedWidth(340);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 18, 18, 18);
    layout->setSpacing(12);
    auto* title = new QLabel(QStringLiteral("How it works"));
    title->setFont(theme::headline());
    layout->addWidget(title);
    for (const auto& [symbol, text] : rows()) {
        auto* row = new QHBoxLayout;
        row->setSpacing(10);
        auto* icon = new QLabel;
        icon->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        theme::setSymbol(icon, symbol, 18, &theme::secondary);
        row->addWidget(icon, 0, Qt::AlignTop);
        auto* label = new QLabel(text);
        label->setWordWrap(true);
        label->setFont(theme::callout());
        row->addWidget(label, 1);
        layout->addLayout(row);
    }
}

void HelpView::changeEvent(QEvent* event) {
    // Colours made from the palette follow a new one (light to dark and back).
    if (event->type() == QEvent::PaletteChange) theme::applyTones(this);
    QWidget::changeEvent(event);
}

}  // namespace varrow::ui
