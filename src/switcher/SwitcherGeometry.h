#pragma once

#include <QPointF>
#include <QRect>
#include <QSize>
#include <optional>

namespace varrow::switcher {

// Where the switcher panel goes. All rectangles are Qt's global screen coordinates (y grows
// downward); "visible" is the screen's available area, "full" its whole frame. The stored
// floating origin is the bar's top-left corner in the same coordinates.
namespace geometry {

// Flush with the visible area's right edge, its top 22 % of the visible height below the
// visible top. Not clamped.
QRect edgeFrame(const QRect& visible, const QSize& size);

// At the stored top-left, or centred with its top 10 below the visible top; then kept wholly
// inside the full frame (a bar larger than the frame keeps its right/bottom edge on it).
QRect floatingFrame(const QRect& visible, const QRect& full, const QSize& size,
                    std::optional<QPointF> storedTopLeft);

// What is stored after a move.
QPointF storedOrigin(const QRect& frame);

}  // namespace geometry
}  // namespace varrow::switcher
