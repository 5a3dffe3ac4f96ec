#include "ui/AppGlyph.h"

#include "model/ProfileColor.h"

#include <QHash>
#include <QIconEngine>
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

namespace {

// The mark at the sizes a desktop asks for, each painted only when first asked: a start that
// shows nothing but the tray paints one size, not eight.
class GlyphEngine : public QIconEngine {
public:
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode, QIcon::State) override {
        AppGlyph::paint(*painter, QRectF(rect));
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return scaledPixmap(size, mode, state, 1.0);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode, QIcon::State, qreal scale) override {
        const int side = std::min(size.width(), size.height());
        const QString key = QString::number(side) + u'@' + QString::number(scale);
        auto it = painted_.find(key);
        if (it == painted_.end()) it = painted_.insert(key, AppGlyph::pixmap(side, scale));
        return *it;
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        QList<QSize> sizes;
        for (int side : {16, 22, 24, 32, 48, 64, 128, 256}) sizes.append(QSize(side, side));
        return sizes;
    }
    QIconEngine* clone() const override { return new GlyphEngine(*this); }
    QString key() const override { return QStringLiteral("VarrowGlyph"); }

private:
    QHash<QString, QPixmap> painted_;
};

}  // namespace

QIcon AppGlyph::icon() {
    return QIcon(new GlyphEngine);
}

void AppGlyph::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paint(painter, QRectF(rect()));
}

}  // namespace varrow::ui
