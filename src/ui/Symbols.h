#pragma once

#include <QColor>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QString>

namespace varrow::ui {

// The symbol names the views use ("gearshape", "plus", …), mapped once to icon-theme names,
// with a drawing of each so that nothing ever shows as an empty box.
namespace symbols {

// The freedesktop icon-theme name for a symbol; empty for a name this table does not know.
QString themeName(const QString& symbol);
// Whether the drawing below knows the symbol.
bool hasDrawing(const QString& symbol);
// Draws the symbol in one colour, fitted into rect. Unknown names draw a small dotted circle.
void paint(QPainter& painter, const QRectF& rect, const QString& symbol, const QColor& color);
QPixmap pixmap(const QString& symbol, int side, const QColor& color, qreal devicePixelRatio = 2.0);
// The desktop theme's icon when it has one, else the drawing in the given colour.
QIcon icon(const QString& symbol, const QColor& color);

}  // namespace symbols
}  // namespace varrow::ui
