#pragma once

#include <QPixmap>
#include <QString>
#include <functional>

class QPainter;

namespace varrow::ui {

// A widget's costly layer (shadows, filled shapes), painted again only when what it shows changes:
// filling large antialiased shapes is the dear part of a repaint, and some widgets repaint often.
// Painted and drawn in bands: Qt's raster engine splits a fill or blend taller than about a
// hundred rows over its global thread pool and waits for the parts, and while ten Claudes start,
// those threads wait for a processor and the UI thread with them. Bands this low stay on the
// painting thread.
class CachedPixmap {
public:
    // The layer for key at this size and pixel ratio; paint draws it, in logical pixels, on a
    // transparent pixmap whenever any of the three differs from the last call.
    const QPixmap& get(const QString& key, QSize size, qreal ratio,
                       const std::function<void(QPainter&)>& paint);
    // Draws the layer with its top left corner at the painter's origin.
    void draw(QPainter& painter) const;

private:
    QPixmap pixmap_;
    QString key_;
};

}  // namespace varrow::ui
