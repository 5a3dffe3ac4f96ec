#include "model/ProfileColor.h"

#include <QPainter>
#include <array>

namespace varrow::model::colors {

namespace {
struct Entry {
    ProfileColor color;
    const char* raw;
    quint32 rgb;
};
constexpr std::array<Entry, 8> kTable{{
    {ProfileColor::Clay, "clay", 0xD97757},
    {ProfileColor::Rose, "rose", 0xE0607E},
    {ProfileColor::Amber, "amber", 0xE2A33B},
    {ProfileColor::Sage, "sage", 0x5FA37A},
    {ProfileColor::Teal, "teal", 0x2E9C9C},
    {ProfileColor::Sky, "sky", 0x4A8FE0},
    {ProfileColor::Iris, "iris", 0x7B6CE0},
    {ProfileColor::Plum, "plum", 0xA25BB5},
}};

const Entry& entry(ProfileColor color) {
    return kTable[static_cast<size_t>(color)];
}
}  // namespace

const QList<ProfileColor>& allCases() {
    static const QList<ProfileColor> all = [] {
        QList<ProfileColor> list;
        for (const auto& e : kTable) list.append(e.color);
        return list;
    }();
    return all;
}

QString rawValue(ProfileColor color) {
    return QString::fromLatin1(entry(color).raw);
}

std::optional<ProfileColor> fromRawValue(const QString& raw) {
    for (const auto& e : kTable)
        if (raw == QLatin1String(e.raw)) return e.color;
    return std::nullopt;
}

QString label(ProfileColor color) {
    QString raw = rawValue(color);
    raw[0] = raw[0].toUpper();
    return raw;
}

quint32 rgb(ProfileColor color) {
    return entry(color).rgb;
}

QColor color(ProfileColor c, qreal opacity) {
    const quint32 v = rgb(c);
    QColor out = QColor::fromRgb((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    out.setAlphaF(float(opacity));
    return out;
}

QLinearGradient gradient(ProfileColor c, const QRectF& rect) {
    QLinearGradient g(rect.topLeft(), rect.bottomRight());
    g.setColorAt(0.0, color(c, 0.85));
    g.setColorAt(1.0, color(c, 1.0));
    return g;
}

QImage menuDot(ProfileColor c, qreal dpr) {
    const int side = qRound(12 * dpr);
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    image.setDevicePixelRatio(dpr);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color(c));
    painter.drawEllipse(QRectF(1, 1, 10, 10));
    return image;
}

}  // namespace varrow::model::colors
