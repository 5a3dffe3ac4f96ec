#pragma once

#include <QPixmap>
#include <QString>
#include <functional>

class QPainter;

namespace varrow::ui {

// A widget's costly layer (shadows, filled shapes), painted again only when what it shows changes:
// filling large antialiased shapes is the dear part of a repaint, and some widgets repaint often.
class CachedPixmap {
public:
    // The layer for key at this size and pixel ratio; paint draws it, in logical pixels, on a
    // transparent pixmap whenever any of the three differs from the last call.
    const QPixmap& get(const QString& key, QSize size, qreal ratio,
                       const std::function<void(QPainter&)>& paint);

private:
    QPixmap pixmap_;
    QString key_;
};

}  // namespace varrow::ui
