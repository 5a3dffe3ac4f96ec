#pragma once

#include <QColor>
#include <QImage>
#include <QLinearGradient>
#include <QList>
#include <QString>
#include <optional>

namespace varrow::model {

// The eight account colours; every tint in the system is drawn from one 24-bit sRGB value.
enum class ProfileColor { Clay, Rose, Amber, Sage, Teal, Sky, Iris, Plum };

namespace colors {

const QList<ProfileColor>& allCases();
QString rawValue(ProfileColor color);
std::optional<ProfileColor> fromRawValue(const QString& raw);
// The raw value with its first letter capitalised.
QString label(ProfileColor color);
quint32 rgb(ProfileColor color);
// Opaque sRGB colour of the value.
QColor color(ProfileColor color, qreal opacity = 1.0);
// Top-leading to bottom-trailing over rect: the colour at opacity 0.85, then at full opacity.
QLinearGradient gradient(ProfileColor color, const QRectF& rect);
// A 12-point image with a solid 10-point dot centred in it, transparent around it.
QImage menuDot(ProfileColor color, qreal devicePixelRatio = 1.0);

}  // namespace colors
}  // namespace varrow::model
