#include "ui/CachedPixmap.h"

#include <QPainter>

namespace varrow::ui {

const QPixmap& CachedPixmap::get(const QString& key, QSize size, qreal ratio,
                                 const std::function<void(QPainter&)>& paint) {
    const QString full = QStringLiteral("%1x%2@%3 ").arg(size.width()).arg(size.height()).arg(ratio) + key;
    if (full == key_ && !pixmap_.isNull()) return pixmap_;
    key_ = full;
    pixmap_ = QPixmap((QSizeF(size) * ratio).toSize());
    pixmap_.setDevicePixelRatio(ratio);
    pixmap_.fill(Qt::transparent);
    QPainter painter(&pixmap_);
    painter.setRenderHint(QPainter::Antialiasing);
    paint(painter);
    return pixmap_;
}

}  // namespace varrow::ui
