#pragma once

#include <QPainterPath>
#include <QRectF>

namespace varrow::switcher {

// The edge tab's outline: rounded on the left, square on the right, so it sits flush against
// the screen's right edge.
QPainterPath leftRoundedShape(const QRectF& rect, qreal radius);

}  // namespace varrow::switcher
