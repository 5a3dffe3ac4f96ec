#include "copies/DropShadow.h"

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace varrow::copies {

namespace {

// Box widths whose three passes match a Gaussian of the given sigma.
std::array<int, 3> boxRadii(double sigma) {
    const double ideal = std::sqrt(12 * sigma * sigma / 3 + 1);
    int lower = int(std::floor(ideal));
    if (lower % 2 == 0) --lower;
    const int upper = lower + 2;
    const double m =
        std::round((12 * sigma * sigma - 3 * lower * lower - 12 * lower - 9) / (-4.0 * lower - 4));
    std::array<int, 3> radii{};
    for (int i = 0; i < 3; ++i) radii[i] = ((i < m ? lower : upper) - 1) / 2;
    return radii;
}

// One running-sum box blur along rows (stride 1) or columns (stride = width).
void boxPass(const uchar* in, uchar* out, int lines, int length, int lineStep, int step, int radius) {
    const int span = 2 * radius + 1;
    for (int line = 0; line < lines; ++line) {
        const uchar* src = in + line * lineStep;
        uchar* dst = out + line * lineStep;
        int sum = 0;
        for (int i = -radius; i <= radius; ++i) sum += src[std::clamp(i, 0, length - 1) * step];
        for (int i = 0; i < length; ++i) {
            dst[i * step] = uchar((sum + span / 2) / span);
            sum += src[std::min(i + radius + 1, length - 1) * step] - src[std::max(i - radius, 0) * step];
        }
    }
}

}  // namespace

void blurChannel(uchar* data, int width, int height, double sigma) {
    if (sigma <= 0 || width <= 0 || height <= 0) return;
    std::vector<uchar> scratch(size_t(width) * height);
    for (int radius : boxRadii(sigma)) {
        if (radius <= 0) continue;
        boxPass(data, scratch.data(), height, width, width, 1, radius);
        boxPass(scratch.data(), data, width, height, 1, width, radius);
    }
}

void drawDiscShadow(QPainter& painter, const QRectF& disc, const DropShadow& shadow) {
    // The blur of a CoreGraphics-style shadow is about two standard deviations wide.
    const double sigma = shadow.blur / 2;
    const int margin = int(std::ceil(3 * sigma)) + 1;
    const QRect area = disc.toAlignedRect().adjusted(-margin, -margin, margin, margin);

    QImage mask(area.size(), QImage::Format_Alpha8);
    mask.fill(0);
    {
        QPainter maskPainter(&mask);
        maskPainter.setRenderHint(QPainter::Antialiasing);
        maskPainter.setPen(Qt::NoPen);
        maskPainter.setBrush(QColor(0, 0, 0, int(std::lround(shadow.opacity * 255))));
        maskPainter.drawEllipse(disc.translated(-area.topLeft()));
    }
    // Alpha8 rows may be padded; blur a packed copy.
    std::vector<uchar> packed(size_t(area.width()) * area.height());
    for (int y = 0; y < area.height(); ++y)
        std::copy_n(mask.constScanLine(y), area.width(), packed.begin() + qsizetype(y) * area.width());
    blurChannel(packed.data(), area.width(), area.height(), sigma);

    QImage layer(area.size(), QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < area.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(layer.scanLine(y));
        for (int x = 0; x < area.width(); ++x) row[x] = qRgba(0, 0, 0, packed[size_t(y) * area.width() + x]);
    }
    painter.drawImage(QPointF(area.topLeft()) + shadow.offset, layer);
}

}  // namespace varrow::copies
