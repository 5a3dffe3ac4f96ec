#include "switcher/LeftRoundedShape.h"

namespace varrow::switcher {

QPainterPath leftRoundedShape(const QRectF& r, qreal radius) {
    QPainterPath path;
    path.moveTo(r.right(), r.top());
    path.lineTo(r.left() + radius, r.top());
    path.quadTo(QPointF(r.left(), r.top()), QPointF(r.left(), r.top() + radius));
    path.lineTo(r.left(), r.bottom() - radius);
    path.quadTo(QPointF(r.left(), r.bottom()), QPointF(r.left() + radius, r.bottom()));
    path.lineTo(r.right(), r.bottom());
    path.closeSubpath();
    return path;
}

}  // namespace varrow::switcher
