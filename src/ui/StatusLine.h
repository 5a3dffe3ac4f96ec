#pragma once

#include <QPainter>
#include <QPalette>
#include <QString>

namespace varrow::ui {

// The third line of an account card: a spinner with "Opening…", or a green dot (running), or an
// empty ring (not open), with a word that changes while the pointer is over the card.
namespace status_line {

enum class Kind { Opening, Running, NotOpen };

// Opening wins over running.
Kind kind(bool running, bool opening);
QString text(bool running, bool opening, bool hovering);
// Draws the kind's mark and the text from the left of rect, vertically centred; spinnerPhase
// (0..1) turns the spinner.
void paint(QPainter& painter, const QRectF& rect, Kind kind, const QString& text, qreal spinnerPhase,
           const QPalette& palette);

}  // namespace status_line
}  // namespace varrow::ui
