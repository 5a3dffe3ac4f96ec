#include "ui/HelpView.h"

#include "ui/DisplayText.h"
#include "ui/Symbols.h"
#include "ui/Theme.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace varrow::ui {

QList<QPair<QString, QString>> HelpView::rows(const DesktopWords& words) {
    QList<QPair<QString, QString>> out{
        {QStringLiteral("hand.tap"),
         tr("Click an account to open it. If it's already open, it comes to the front.")},
        {QStringLiteral("rectangle.on.rectangle"), tr("Accounts can be open side by side. Each one has its "
                                                      "own sign-in, chats, settings and connectors.")},
        {QStringLiteral("person.badge.key"), tr("A new account opens to the Claude sign-in screen. Sign in "
                                                "once with the email you want for it.")},
        {QStringLiteral("paintpalette"), words.iconsShownIn()},
        {QStringLiteral("command"),
         tr("While you're in Claude, %1 jumps to the next open account. The switcher "
            "tab on the screen edge works too.")
             .arg(words.cycleKey())},
    };
    // A row about a list this desktop does not have is left out.
    if (const auto pin = words.pinHint()) out.append({QStringLiteral("pin"), *pin});
    return out;
}

HelpView::HelpView(const DesktopWords& words, QWidget* parent) : QWidget(parent) {
    setFixedWidth(340);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 18, 18, 18);
    layout->setSpacing(12);
    auto* heading = new QLabel(title());
    heading->setFont(theme::headline());
    layout->addWidget(heading);
    for (const auto& [symbol, text] : rows(words)) {
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
