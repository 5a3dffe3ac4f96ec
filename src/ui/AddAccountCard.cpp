#include "ui/AddAccountCard.h"

#include "ui/PressableStyle.h"
#include "ui/ProfileCard.h"
#include "ui/Symbols.h"
#include "ui/Theme.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainterPath>

namespace varrow::ui {

AddAccountCard::AddAccountCard(QWidget* parent)
    : QAbstractButton(parent), pressable_(new PressableStyle(this)) {
    setMouseTracking(true);
    setFocusPolicy(Qt::TabFocus);
    setMinimumHeight(ProfileCard::kMinHeight + 2 * ProfileCard::kShadowMargin);
    setAccessibleName(tr("Add account"));
}

QRectF AddAccountCard::cardRect() const {
    const int m = ProfileCard::kShadowMargin;
    return QRectF(rect()).adjusted(m, m, -m, -m);
}

bool AddAccountCard::hitButton(const QPoint& pos) const {
    QPainterPath shape;
    shape.addRoundedRect(cardRect(), ProfileCard::kRadius, ProfileCard::kRadius);
    return shape.contains(QPointF(pos));
}

void AddAccountCard::mouseMoveEvent(QMouseEvent* event) {
    const bool inside = hitButton(event->position().toPoint());
    if (inside != hovering_) {
        hovering_ = inside;
        update();
    }
    QAbstractButton::mouseMoveEvent(event);
}

void AddAccountCard::leaveEvent(QEvent* event) {
    hovering_ = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void AddAccountCard::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QPalette& pal = palette();
    const QRectF card = cardRect();
    pressable_->apply(p, card);

    QPen outline(theme::primary(pal, hovering_ ? 0.3 : 0.15), 1);
    outline.setDashPattern({5, 4});
    p.setPen(outline);
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(card.adjusted(0.5, 0.5, -0.5, -0.5), ProfileCard::kRadius - 0.5,
                      ProfileCard::kRadius - 0.5);

    const QRectF circle(card.left() + 14, card.center().y() - 26, 52, 52);
    QColor ringColor = theme::secondary(pal);
    ringColor.setAlphaF(float(ringColor.alphaF() * 0.6));
    QPen ring(ringColor, 1.5);
    ring.setDashPattern({4 / 1.5, 3 / 1.5});  // Qt dashes count in line widths
    p.setPen(ring);
    p.drawEllipse(circle.adjusted(0.75, 0.75, -0.75, -0.75));
    symbols::paint(p, QRectF(circle.center().x() - 9, circle.center().y() - 9, 18, 18),
                   QStringLiteral("plus"), theme::secondary(pal));

    const QFont title = theme::font(15, QFont::DemiBold);
    const QFontMetrics tm(title), sm(theme::callout());
    const qreal left = circle.right() + 14;
    const qreal blockH = tm.height() + 3 + sm.height();
    qreal y = card.center().y() - blockH / 2;
    p.setFont(title);
    p.setPen(theme::primary(pal));
    p.drawText(QRectF(left, y, card.right() - left - 14, tm.height()), Qt::AlignLeft | Qt::AlignVCenter,
               tr("Add account"));
    y += tm.height() + 3;
    p.setFont(theme::callout());
    p.setPen(theme::secondary(pal));
    p.drawText(QRectF(left, y, card.right() - left - 14, sm.height()), Qt::AlignLeft | Qt::AlignVCenter,
               tr("Work, personal, a client…"));
}

}  // namespace varrow::ui
