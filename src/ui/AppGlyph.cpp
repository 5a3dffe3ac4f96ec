#include "ui/AppGlyph.h"

#include "model/ProfileColor.h"

#include <QPainterPath>

namespace varrow::ui {

AppGlyph::AppGlyph(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TranslucentBackground);
    setAccessibleName(QStringLiteral("Varrow"));
}

QRectF AppGlyph::squareIn(const QRectF& area) {
    const qreal s = std::min(area.width(), area.height());
    return QRectF(area.center().x() - s / 2, area.center().y() - s / 2, s, s);
}

void AppGlyph::paint(QPainter& painter, const QRectF& area) {
    const QRectF sq = squareIn(area);
    const qreal s = sq.width();
    if (s <= 0) return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);

    QLinearGradient background(sq.topLeft(), sq.bottomLeft());
    background.setColorAt(0, QColor(42, 37, 34));
    background.setColorAt(1, QColor(26, 23, 22));
    painter.setBrush(background);
    painter.drawRoundedRect(sq, 0.24 * s, 0.24 * s);

    const QPointF c = sq.center();
    auto disc = [&](model::ProfileColor color, qreal diameter, QPointF offset) {
        const QRectF r(c.x() + offset.x() - diameter / 2, c.y() + offset.y() - diameter / 2, diameter,
                       diameter);
        painter.setBrush(model::colors::gradient(color, r));
        painter.drawEllipse(r);
        return r;
    };
    // y grows downward here: "up" in the design is a negative offset.
    disc(model::ProfileColor::Teal, 0.42 * s, QPointF(0.14 * s, -0.08 * s));
    disc(model::ProfileColor::Iris, 0.42 * s, QPointF(-0.14 * s, -0.08 * s));
    const QRectF clay = disc(model::ProfileColor::Clay, 0.46 * s, QPointF(0, 0.12 * s));

    const qreal line = 0.03 * s;
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(34, 30, 28), line));
    painter.drawEllipse(clay.adjusted(line / 2, line / 2, -line / 2, -line / 2));
    painter.restore();
}

QPixmap AppGlyph::pixmap(int side, qreal dpr) {
    QPixmap pm(qRound(side * dpr), qRound(side * dpr));
    pm.setDevicePixelRatio(dpr);
    pm.fill(Qt::transparent);
    QPainter painter(&pm);
    paint(painter, QRectF(0, 0, side, side));
    return pm;
}

QIcon AppGlyph::icon() {
    QIcon icon;
    for (int side : {16, 22, 24, 32, 48, 64, 128, 256}) icon.addPixmap(pixmap(side));
    return icon;
}

void AppGlyph::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paint(painter, QRectF(rect()));
}

}  // namespace varrow::ui
