#pragma once

#include <QImage>
#include <QPalette>
#include <QString>
#include <QWidget>

namespace varrow::ui {

// Off-screen pictures of widgets, for the scripted renders and for looking at the views.
namespace render {

// The light or dark palette, for the whole application: widgets made afterwards draw with it.
void useAppearance(bool dark);
// Lays the widget out at size (its natural size when empty) and grabs it at the given scale.
QImage grab(QWidget* widget, QSize size = {}, qreal scale = 2.0);
// Writes a PNG; false when the folder is missing or not writable.
bool savePng(const QImage& image, const QString& path);

}  // namespace render
}  // namespace varrow::ui
