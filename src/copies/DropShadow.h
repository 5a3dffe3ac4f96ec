#pragma once

#include <QPainter>
#include <QRectF>

namespace varrow::copies {

// A black shadow of a given opacity, blur radius and offset (y growing downwards).
struct DropShadow {
    double opacity;
    double blur;
    QPointF offset;
};

// Paints the blurred shadow that a filled circle inscribed in `disc` would cast.
void drawDiscShadow(QPainter& painter, const QRectF& disc, const DropShadow& shadow);

// Approximates a Gaussian of standard deviation sigma with three box blurs, in place on
// one 8-bit channel of width × height.
void blurChannel(uchar* data, int width, int height, double sigma);

}  // namespace varrow::copies
