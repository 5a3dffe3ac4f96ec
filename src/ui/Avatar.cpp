#include "ui/Avatar.h"

#include "ui/Theme.h"

#include <QTextBoundaryFinder>

namespace varrow::ui {

namespace {

QString firstCharacter(const QString& word) {
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, word);
    const qsizetype end = finder.toNextBoundary();
    return word.left(end > 0 ? end : 1);
}

QColor mix(const QColor& a, const QColor& b, qreal t) {
    return QColor::fromRgbF(
        float(a.redF() + (b.redF() - a.redF()) * t), float(a.greenF() + (b.greenF() - a.greenF()) * t),
        float(a.blueF() + (b.blueF() - a.blueF()) * t), float(a.alphaF() + (b.alphaF() - a.alphaF()) * t));
}

void paintDisc(QPainter& painter, const QRectF& rect, const QString& initials, const QLinearGradient& fill) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawEllipse(rect);

    const qreal side = rect.width();
    painter.setFont(theme::roundedFont(side * 0.38, QFont::DemiBold));
    painter.setPen(Qt::white);
    painter.drawText(rect, Qt::AlignCenter | Qt::TextSingleLine, initials);

    // Hairline ring inside the edge.
    QColor ring(255, 255, 255);
    ring.setAlphaF(0.25f);
    painter.setPen(QPen(ring, 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(rect.adjusted(0.5, 0.5, -0.5, -0.5));
    painter.restore();
}

}  // namespace

Avatar::Avatar(const QString& name, const QString& initials, model::ProfileColor color, qreal size,
               QWidget* parent)
    : QWidget(parent), name_(name), initials_(initials), color_(color), size_(size), blendFrom_(color) {
    setAttribute(Qt::WA_TranslucentBackground);
    setFixedSize(sizeHint());
    // Decorative: the card or editor around it carries the name.
    setAccessibleName(QString());
    setFocusPolicy(Qt::NoFocus);
}

Avatar::Avatar(const QString& name, model::ProfileColor color, qreal size, QWidget* parent)
    : Avatar(name, initialsFor(name), color, size, parent) {}

QString Avatar::initialsFor(const QString& name) {
    const QStringList pieces = name.split(u' ', Qt::SkipEmptyParts);
    QString out;
    for (qsizetype i = 0; i < pieces.size() && i < 2; ++i) out += firstCharacter(pieces[i]).toUpper();
    return out.isEmpty() ? QStringLiteral("?") : out;
}

void Avatar::paint(QPainter& painter, const QRectF& rect, const QString& initials,
                   model::ProfileColor color) {
    paintDisc(painter, rect, initials, model::colors::gradient(color, rect));
}

void Avatar::setName(const QString& name) {
    name_ = name;
    initials_ = initialsFor(name);
    update();
}

void Avatar::setColor(model::ProfileColor color) {
    color_ = color;
    blendFrom_ = color;
    blend_ = 1.0;
    update();
}

void Avatar::setBlend(model::ProfileColor from, qreal progress) {
    blendFrom_ = from;
    blend_ = std::clamp(progress, 0.0, 1.0);
    update();
}

QSize Avatar::sizeHint() const {
    return QSize(qCeil(size_), qCeil(size_));
}

void Avatar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRectF r(0, 0, size_, size_);
    if (blend_ >= 1.0 || blendFrom_ == color_) {
        paint(painter, r, initials_, color_);
        return;
    }
    const QLinearGradient from = model::colors::gradient(blendFrom_, r);
    const QLinearGradient to = model::colors::gradient(color_, r);
    QLinearGradient g(r.topLeft(), r.bottomRight());
    g.setColorAt(0.0, mix(from.stops().first().second, to.stops().first().second, blend_));
    g.setColorAt(1.0, mix(from.stops().last().second, to.stops().last().second, blend_));
    paintDisc(painter, r, initials_, g);
}

}  // namespace varrow::ui
