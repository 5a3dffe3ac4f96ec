#include "ui/Symbols.h"

#include <QHash>
#include <QPainterPath>
#include <QtMath>

namespace varrow::ui::symbols {

namespace {

const QHash<QString, QString>& table() {
    static const QHash<QString, QString> names{
        {QStringLiteral("person.2.circle"), QStringLiteral("system-users")},
        {QStringLiteral("gearshape"), QStringLiteral("preferences-system")},
        {QStringLiteral("plus"), QStringLiteral("list-add")},
        {QStringLiteral("questionmark.circle"), QStringLiteral("help-about")},
        {QStringLiteral("checkmark"), QStringLiteral("object-select")},
        {QStringLiteral("exclamationmark.triangle.fill"), QStringLiteral("dialog-warning")},
        {QStringLiteral("arrow.down.circle.fill"), QStringLiteral("folder-download")},
        {QStringLiteral("info.circle"), QStringLiteral("dialog-information")},
        {QStringLiteral("hand.tap"), QStringLiteral("input-mouse")},
        {QStringLiteral("rectangle.on.rectangle"), QStringLiteral("window-duplicate")},
        {QStringLiteral("person.badge.key"), QStringLiteral("dialog-password")},
        {QStringLiteral("paintpalette"), QStringLiteral("applications-graphics")},
        {QStringLiteral("command"), QStringLiteral("input-keyboard")},
        {QStringLiteral("pin"), QStringLiteral("view-pin")},
    };
    return names;
}

QPainterPath circle(QPointF c, qreal r) {
    QPainterPath p;
    p.addEllipse(c, r, r);
    return p;
}

QPainterPath roundRect(const QRectF& r, qreal radius) {
    QPainterPath p;
    p.addRoundedRect(r, radius, radius);
    return p;
}

// Person silhouette: head and shoulders, in a box.
QPainterPath person(const QRectF& b) {
    QPainterPath p = circle(QPointF(b.center().x(), b.top() + b.height() * 0.3), b.width() * 0.2);
    QPainterPath body;
    const QRectF shoulders(b.left() + b.width() * 0.08, b.top() + b.height() * 0.6, b.width() * 0.84,
                           b.height() * 0.8);
    body.moveTo(shoulders.left(), b.bottom());
    body.arcTo(shoulders, 180, -180);
    body.closeSubpath();
    return p.united(body.intersected(roundRect(b, 0)));
}

// Every drawing works in a 24 x 24 box; paint() scales it to the requested rectangle.
void draw(QPainter& p, const QString& s, const QColor& color) {
    const qreal w = 1.8;
    QPen pen(color, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    auto fill = [&](const QPainterPath& path) {
        p.setPen(Qt::NoPen);
        p.setBrush(color);
        p.drawPath(path);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
    };

    if (s == u"plus") {
        p.drawLine(QPointF(12, 4.5), QPointF(12, 19.5));
        p.drawLine(QPointF(4.5, 12), QPointF(19.5, 12));
    } else if (s == u"checkmark") {
        pen.setWidthF(2.4);
        p.setPen(pen);
        p.drawPolyline(QPolygonF({QPointF(5, 12.5), QPointF(10, 17.5), QPointF(19, 6.5)}));
    } else if (s == u"gearshape") {
        QPainterPath gear;
        for (int i = 0; i < 8; ++i) {
            QTransform t;
            t.translate(12, 12);
            t.rotate(i * 45);
            gear = gear.united(t.map(roundRect(QRectF(-2.2, -10.5, 4.4, 5), 1.2)));
        }
        gear = gear.united(circle(QPointF(12, 12), 7.2)).subtracted(circle(QPointF(12, 12), 3));
        p.setPen(QPen(color, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(gear.simplified());
    } else if (s == u"questionmark.circle" || s == u"info.circle") {
        p.drawEllipse(QPointF(12, 12), 9.5, 9.5);
        if (s == u"info.circle") {
            fill(circle(QPointF(12, 7.6), 1.3));
            p.drawLine(QPointF(12, 11), QPointF(12, 17));
        } else {
            QPainterPath q;
            q.moveTo(9.2, 9.6);
            q.cubicTo(9.2, 6.4, 14.8, 6.4, 14.8, 9.6);
            q.cubicTo(14.8, 11.8, 12, 11.8, 12, 14.2);
            p.drawPath(q);
            fill(circle(QPointF(12, 17.4), 1.25));
        }
    } else if (s == u"exclamationmark.triangle.fill") {
        QPainterPath tri;
        tri.moveTo(12, 2.5);
        tri.lineTo(22.5, 20.5);
        tri.lineTo(1.5, 20.5);
        tri.closeSubpath();
        QPainterPath mark = roundRect(QRectF(10.9, 8, 2.2, 7.2), 1.1).united(circle(QPointF(12, 17.6), 1.3));
        // Rounded corners come from the stroke; the mark is cut out of the whole.
        QPainterPathStroker stroker;
        stroker.setWidth(2.5);
        stroker.setJoinStyle(Qt::RoundJoin);
        fill(tri.united(stroker.createStroke(tri)).subtracted(mark));
    } else if (s == u"arrow.down.circle.fill") {
        QPainterPath arrow;
        arrow.addRect(QRectF(11, 6, 2, 9));
        QPainterPath head;
        head.moveTo(7, 12.5);
        head.lineTo(17, 12.5);
        head.lineTo(12, 18);
        head.closeSubpath();
        fill(circle(QPointF(12, 12), 10.5).subtracted(arrow.united(head)));
    } else if (s == u"person.2.circle") {
        p.drawEllipse(QPointF(12, 12), 10, 10);
        const QRectF box(5.5, 5.5, 13, 13);
        QPainterPath back = person(box.translated(3, -0.5)).intersected(circle(QPointF(12, 12), 10));
        QPainterPath front = person(box.translated(-2.5, 1.5)).intersected(circle(QPointF(12, 12), 10));
        fill(back.subtracted(person(box.adjusted(-1.2, -1.2, 1.2, 1.2).translated(-2.5, 1.5))));
        fill(front);
    } else if (s == u"hand.tap") {
        // A raised finger over a palm, with three short tap marks above the tip.
        QPainterPath hand;
        hand.addRoundedRect(QRectF(9.4, 7, 3.8, 10), 1.9, 1.9);
        hand.addRoundedRect(QRectF(8, 12.5, 11, 9.5), 3.2, 3.2);
        p.drawPath(hand.simplified());
        p.drawLine(QPointF(11.3, 1.8), QPointF(11.3, 4));
        p.drawLine(QPointF(7, 3.6), QPointF(8.4, 5));
        p.drawLine(QPointF(15.6, 3.6), QPointF(14.2, 5));
    } else if (s == u"rectangle.on.rectangle") {
        p.drawRoundedRect(QRectF(3, 8, 13, 11), 2.5, 2.5);
        p.drawPath(roundRect(QRectF(8, 4, 13, 11), 2.5).subtracted(roundRect(QRectF(2, 7, 15, 13), 3)));
    } else if (s == u"person.badge.key") {
        p.drawPath(person(QRectF(1.5, 3, 14, 15)).subtracted(circle(QPointF(18, 15.5), 5.5)));
        fill(person(QRectF(1.5, 3, 14, 15)).subtracted(circle(QPointF(18, 15.5), 6.2)));
        p.drawEllipse(QPointF(17, 13.5), 2.2, 2.2);
        p.drawLine(QPointF(18.4, 15.2), QPointF(21.5, 20));
        p.drawLine(QPointF(20.4, 18.2), QPointF(21.9, 17.4));
    } else if (s == u"paintpalette") {
        QPainterPath pal;
        pal.moveTo(12, 2.5);
        pal.cubicTo(5, 2.5, 2, 8, 2.5, 12.5);
        pal.cubicTo(3, 17.5, 7, 21.5, 12, 21.5);
        pal.cubicTo(14.5, 21.5, 14.5, 19, 13.4, 17.6);
        pal.cubicTo(12.4, 16.2, 13.2, 14.5, 15.2, 14.5);
        pal.lineTo(17.5, 14.5);
        pal.cubicTo(20.5, 14.5, 21.8, 12.5, 21.5, 10);
        pal.cubicTo(21, 5.5, 17, 2.5, 12, 2.5);
        p.drawPath(pal);
        for (QPointF c : {QPointF(7.5, 11), QPointF(9.5, 6.8), QPointF(14.4, 6.6), QPointF(17.6, 10)})
            fill(circle(c, 1.5));
    } else if (s == u"command") {
        pen.setWidthF(1.6);
        p.setPen(pen);
        const qreal a = 8.5, b = 15.5, r = 2.6;
        p.drawLine(QPointF(a - r, a), QPointF(b + r, a));
        p.drawLine(QPointF(a - r, b), QPointF(b + r, b));
        p.drawLine(QPointF(a, a - r), QPointF(a, b + r));
        p.drawLine(QPointF(b, a - r), QPointF(b, b + r));
        // Each loop leaves out the quarter that faces the square.
        auto loop = [&](qreal cx, qreal cy, int start) {
            p.drawArc(QRectF(cx - r, cy - r, 2 * r, 2 * r), start * 16, 270 * 16);
        };
        loop(a - r, a - r, 0);
        loop(b + r, a - r, 270);
        loop(a - r, b + r, 90);
        loop(b + r, b + r, 180);
    } else if (s == u"pin") {
        QTransform t;
        t.translate(12, 12);
        t.rotate(35);
        t.translate(-12, -12);
        p.setTransform(t, true);
        QPainterPath head;
        head.moveTo(8.5, 3);
        head.lineTo(15.5, 3);
        head.moveTo(9.5, 3);
        head.lineTo(9.5, 9);
        head.lineTo(6.5, 13);
        head.lineTo(17.5, 13);
        head.lineTo(14.5, 9);
        head.lineTo(14.5, 3);
        p.drawPath(head);
        p.drawLine(QPointF(12, 13), QPointF(12, 21));
    } else {
        // Unknown name: a quiet dotted circle rather than nothing.
        p.setPen(QPen(color, 1.5, Qt::DotLine));
        p.drawEllipse(QPointF(12, 12), 8, 8);
    }
}

}  // namespace

QString themeName(const QString& symbol) {
    return table().value(symbol);
}

bool hasDrawing(const QString& symbol) {
    return table().contains(symbol);
}

void paint(QPainter& painter, const QRectF& rect, const QString& symbol, const QColor& color) {
    const qreal side = std::min(rect.width(), rect.height());
    if (side <= 0) return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(rect.center().x() - side / 2, rect.center().y() - side / 2);
    painter.scale(side / 24.0, side / 24.0);
    draw(painter, symbol, color);
    painter.restore();
}

QPixmap pixmap(const QString& symbol, int side, const QColor& color, qreal dpr) {
    QPixmap pm(qRound(side * dpr), qRound(side * dpr));
    pm.setDevicePixelRatio(dpr);
    pm.fill(Qt::transparent);
    QPainter painter(&pm);
    paint(painter, QRectF(0, 0, side, side), symbol, color);
    return pm;
}

QIcon icon(const QString& symbol, const QColor& color) {
    QIcon drawn;
    for (int side : {16, 24, 32}) drawn.addPixmap(pixmap(symbol, side, color, 1.0));
    const QString name = themeName(symbol);
    if (!name.isEmpty() && QIcon::hasThemeIcon(name)) return QIcon::fromTheme(name, drawn);
    return drawn;
}

}  // namespace varrow::ui::symbols
