#include "ui/Popover.h"

#include "ui/ProfileCard.h"
#include "ui/Theme.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QVBoxLayout>

namespace varrow::ui {

namespace {
constexpr int kArrow = 9, kShadow = 10;
}

Popover::Popover(QWidget* content, QWidget* parent)
    : QFrame(parent, Qt::Popup | Qt::FramelessWindowHint), content_(content) {
    setAttribute(Qt::WA_TranslucentBackground);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kShadow, kShadow + kArrow, kShadow, kShadow);
    layout->addWidget(content_);
}

void Popover::showFor(QWidget* anchor) {
    adjustSize();
    const QRect a(anchor->mapToGlobal(QPoint(0, 0)), anchor->size());
    QScreen* screen = anchor->screen() ? anchor->screen() : QGuiApplication::primaryScreen();
    const QRect avail = screen ? screen->availableGeometry() : QRect(0, 0, 10000, 10000);
    arrowOnTop_ = a.bottom() + height() <= avail.bottom();
    auto* layout = static_cast<QVBoxLayout*>(this->layout());
    layout->setContentsMargins(kShadow, kShadow + (arrowOnTop_ ? kArrow : 0), kShadow,
                               kShadow + (arrowOnTop_ ? 0 : kArrow));
    adjustSize();
    int x = a.center().x() - width() / 2;
    x = std::clamp(x, avail.left(), std::max(avail.left(), avail.right() - width()));
    const int y = arrowOnTop_ ? a.bottom() - kShadow + 2 : a.top() - height() + kShadow - 2;
    arrowX_ = a.center().x() - x;
    move(x, y);
    show();
}

bool Popover::justClosed() const {
    return closedAt_.isValid() && closedAt_.elapsed() < 250;
}

void Popover::hideEvent(QHideEvent* event) {
    closedAt_.start();
    QFrame::hideEvent(event);
}

void Popover::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QRectF body = QRectF(rect()).adjusted(kShadow, kShadow, -kShadow, -kShadow);
    if (arrowOnTop_)
        body.setTop(body.top() + kArrow);
    else
        body.setBottom(body.bottom() - kArrow);
    QPainterPath path;
    path.addRoundedRect(body, 10, 10);
    QPainterPath arrow;
    const qreal ax = std::clamp(arrowX_, body.left() + 18, body.right() - 18);
    const qreal edge = arrowOnTop_ ? body.top() : body.bottom();
    const qreal tip = arrowOnTop_ ? edge - kArrow : edge + kArrow;
    arrow.moveTo(ax - kArrow - 1, edge);
    arrow.lineTo(ax, tip);
    arrow.lineTo(ax + kArrow + 1, edge);
    arrow.closeSubpath();
    path = path.united(arrow);
    paintSoftShadow(p, body, 10, 8, 3, 0.12);
    p.setPen(QPen(theme::primary(palette(), 0.12), 1));
    p.setBrush(theme::isDark(palette()) ? theme::controlBackground(palette()).lighter(110)
                                        : theme::windowBackground(palette()).lighter(104));
    p.drawPath(path);
}

}  // namespace varrow::ui
