#include "ui/CachedPixmap.h"

#include <QImage>
#include <QPainter>
#include <algorithm>

namespace varrow::ui {

namespace {
// Device pixels. An antialiased edge makes several spans a row, and the engine counts spans.
constexpr int kBandRows = 16;
}  // namespace

const QPixmap& CachedPixmap::get(const QString& key, QSize size, qreal ratio,
                                 const std::function<void(QPainter&)>& paint) {
    const QString full = QStringLiteral("%1x%2@%3 ").arg(size.width()).arg(size.height()).arg(ratio) + key;
    if (full == key_ && !pixmap_.isNull()) return pixmap_;
    key_ = full;
    pixmap_ = QPixmap((QSizeF(size) * ratio).toSize());
    pixmap_.setDevicePixelRatio(ratio);
    pixmap_.fill(Qt::transparent);
    QPainter painter(&pixmap_);
    // Each band is painted on an image of its own height: a clip alone still has the whole shape
    // split over the pool.
    for (int y = 0; y < pixmap_.height(); y += kBandRows) {
        QImage band(pixmap_.width(), std::min(kBandRows, pixmap_.height() - y),
                    QImage::Format_ARGB32_Premultiplied);
        band.setDevicePixelRatio(ratio);
        band.fill(Qt::transparent);
        QPainter bandPainter(&band);
        bandPainter.setRenderHint(QPainter::Antialiasing);
        bandPainter.translate(0, -y / ratio);
        paint(bandPainter);
        bandPainter.end();
        painter.drawImage(QPointF(0, y / ratio), band);
    }
    return pixmap_;
}

void CachedPixmap::draw(QPainter& painter) const {
    const qreal ratio = pixmap_.devicePixelRatio();
    for (int y = 0; y < pixmap_.height(); y += kBandRows) {
        const int rows = std::min(kBandRows, pixmap_.height() - y);
        painter.drawPixmap(QRectF(0, y / ratio, pixmap_.width() / ratio, rows / ratio), pixmap_,
                           QRectF(0, y, pixmap_.width(), rows));
    }
}

}  // namespace varrow::ui
