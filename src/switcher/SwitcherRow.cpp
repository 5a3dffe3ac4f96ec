#include "switcher/SwitcherRow.h"

#include "ui/Avatar.h"
#include "ui/DisplayText.h"
#include "ui/Symbols.h"
#include "ui/Theme.h"

#include <QPainter>
#include <QPainterPath>

namespace varrow::switcher {

namespace {
constexpr qreal kPadX = 8, kAvatar = 24, kSpacing = 9, kMinSpacer = 4;
constexpr qreal kCheck = 11, kDot = 6;
}  // namespace

SwitcherRow::SwitcherRow(const model::Profile& profile, bool isCurrent, bool isRunning,
                         std::function<void()> action, QWidget* parent)
    : QAbstractButton(parent), profile_(profile), isCurrent_(isCurrent), isRunning_(isRunning) {
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover);
    setCursor(Qt::PointingHandCursor);
    setAccessibleName(ui::singleLine(profile.name));
    connect(this, &QAbstractButton::clicked, this, [action = std::move(action)] {
        if (action) action();
    });
}

QFont SwitcherRow::nameFont() const {
    return ui::theme::font(13, isCurrent_ ? QFont::DemiBold : QFont::Normal);
}

QRectF SwitcherRow::nameRect() const {
    const qreal left = kPadX + kAvatar + kSpacing;
    qreal trailing = kPadX;
    if (isCurrent_)
        trailing += kCheck + kSpacing;
    else if (isRunning_)
        trailing += kDot + kSpacing;
    return QRectF(left, 0, std::max(0.0, width() - left - trailing - kMinSpacer), height());
}

QString SwitcherRow::displayedName() const {
    return ui::elided(profile_.name, nameFont(), int(nameRect().width()));
}

void SwitcherRow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QPalette& pal = palette();
    if (hovering_) {
        p.setPen(Qt::NoPen);
        p.setBrush(ui::theme::primary(pal, 0.08));
        p.drawRoundedRect(QRectF(rect()), 7, 7);
    }
    const qreal midY = height() / 2.0;
    ui::Avatar::paint(p, QRectF(kPadX, midY - kAvatar / 2, kAvatar, kAvatar), profile_.initials(),
                      profile_.color);

    p.setFont(nameFont());
    p.setPen(ui::theme::primary(pal));
    p.drawText(nameRect(), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, displayedName());

    const qreal right = width() - kPadX;
    if (isCurrent_) {
        ui::symbols::paint(p, QRectF(right - kCheck, midY - kCheck / 2, kCheck, kCheck),
                           QStringLiteral("checkmark"), ui::theme::secondary(pal));
    } else if (isRunning_) {
        p.setPen(Qt::NoPen);
        p.setBrush(ui::theme::green(pal));
        p.drawEllipse(QRectF(right - kDot, midY - kDot / 2, kDot, kDot));
    }
}

void SwitcherRow::enterEvent(QEnterEvent*) {
    hovering_ = true;
    update();
}

void SwitcherRow::leaveEvent(QEvent*) {
    hovering_ = false;
    update();
}

}  // namespace varrow::switcher
