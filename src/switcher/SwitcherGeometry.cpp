#include "switcher/SwitcherGeometry.h"

#include <algorithm>
#include <cmath>

namespace varrow::switcher::geometry {

// The design measures y upward from the bottom of the screen; Qt measures it downward from the
// top. "top = V.maxY − 0.22 × V.height" (y up) is the same line as "V.top + 0.22 × V.height"
// (y down), and a frame's (minX, maxY) corner is Qt's top-left.

QRect edgeFrame(const QRect& visible, const QSize& size) {
    const qreal x = qreal(visible.x()) + visible.width() - size.width();
    const qreal top = qreal(visible.y()) + 0.22 * visible.height();
    return QRect(qRound(x), qRound(top), size.width(), size.height());
}

QRect floatingFrame(const QRect& visible, const QRect& full, const QSize& size,
                    std::optional<QPointF> storedTopLeft) {
    const qreal w = size.width(), h = size.height();
    qreal x = visible.x() + visible.width() / 2.0 - w / 2.0;
    qreal top = visible.y() + 10.0;
    if (storedTopLeft && std::isfinite(storedTopLeft->x()) && std::isfinite(storedTopLeft->y())) {
        x = storedTopLeft->x();
        top = storedTopLeft->y();
    }
    // Same order as the design: the lower bound first, then the upper one wins.
    x = std::min(std::max(x, qreal(full.x())), qreal(full.x()) + full.width() - w);
    top = std::min(std::max(top, qreal(full.y())), qreal(full.y()) + full.height() - h);
    return QRect(qRound(x), qRound(top), size.width(), size.height());
}

QPointF storedOrigin(const QRect& frame) {
    return QPointF(frame.topLeft());
}

}  // namespace varrow::switcher::geometry
