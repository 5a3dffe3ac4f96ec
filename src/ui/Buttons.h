#pragma once

#include <QPushButton>
#include <QToolButton>

namespace varrow::ui::buttons {

// The three button looks of the windows: the accent-filled default action, the plain bordered
// one, and the borderless footer button (symbol and optional text).
void makeProminent(QPushButton* button);
void makeBordered(QPushButton* button);
QToolButton* borderless(const QString& text, const QString& symbol, QWidget* parent);
// Large control size: taller buttons for sheets and the header.
void makeLarge(QPushButton* button);

}  // namespace varrow::ui::buttons
