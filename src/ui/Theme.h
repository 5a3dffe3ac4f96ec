#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>
#include <functional>

class QLabel;
class QWidget;

namespace varrow::ui {

// The semantic colours and text styles every view draws with. Colours come from the widget's
// palette, so light and dark palettes both look right; sizes are logical pixels.
namespace theme {

QColor primary(const QPalette& palette, qreal opacity = 1.0);
QColor secondary(const QPalette& palette);
QColor tertiary(const QPalette& palette);
// Card and field fill, and the window's own background.
QColor controlBackground(const QPalette& palette);
QColor windowBackground(const QPalette& palette);
// The translucent window-coloured fill of overlay panels.
QColor regularMaterial(const QPalette& palette);
QColor green(const QPalette& palette);
QColor orange(const QPalette& palette);
// The clay accent of the missing-Claude banner.
QColor clay(qreal opacity = 1.0);
bool isDark(const QPalette& palette);

QFont font(qreal pixelSize, QFont::Weight weight = QFont::Normal);
// The rounded face used for initials when one is installed.
QFont roundedFont(qreal pixelSize, QFont::Weight weight);
QFont caption();      // 10
QFont caption2();     // 10, monospaced digits
QFont callout();      // 12
QFont subheadline();  // 11
QFont headline();     // 13 semibold
QFont title2();       // 17
QFont title3();       // 15

// Styling that depends on the palette is registered once per widget and redone by applyTones
// whenever the palette of a window changes (a widget made under a light palette and later given
// a dark one must not keep light-derived colours).
using Restyler = std::function<void(QWidget* widget, const QPalette& palette)>;
void restyle(QWidget* widget, Restyler apply);
void applyTones(QWidget* root);

enum class Tone { Primary, Secondary, Tertiary };
QColor toned(const QPalette& palette, Tone tone);
// Colours a label's text by tone, now and after palette changes.
void setTone(QLabel* label, Tone tone);
// Shows a symbol on a label in a palette-derived colour.
void setSymbol(QLabel* label, const QString& symbol, int side, std::function<QColor(const QPalette&)> color);

// A palette with the dark look, for renders and for users who run a light desktop theme.
QPalette darkPalette();
QPalette lightPalette();

}  // namespace theme
}  // namespace varrow::ui
