#include "copies/AccountIcon.h"

#include "copies/DropShadow.h"
#include "copies/Recolour.h"
#include "platform/DesktopFiles.h"

#include <QBuffer>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>

namespace varrow::copies::AccountIcon {

namespace {

constexpr auto kRoundedFontFile = "/usr/share/fonts/truetype/quicksand/Quicksand-Bold.ttf";

// The badge in canvas coordinates with y growing downwards: the 400-point disc whose right and
// bottom edges lie 60 points from the canvas edges (centre 764, 260 counted from the bottom).
constexpr double kDiscSize = 400;
constexpr double kDiscInset = 60;
constexpr double kDiscCentreX = kCanvas - kDiscInset - kDiscSize / 2;
constexpr double kDiscCentreY = kCanvas - (kDiscInset + kDiscSize / 2);

// The family of the packaged rounded face, loaded once; empty when it is not installed.
QString roundedFamily() {
    static const QString family = [] {
        const int id = QFontDatabase::addApplicationFont(QString::fromLatin1(kRoundedFontFile));
        const QStringList families = id < 0 ? QStringList() : QFontDatabase::applicationFontFamilies(id);
        return families.isEmpty() ? QString() : families.first();
    }();
    return family;
}

}  // namespace

QString iconSignature(const model::Profile& profile) {
    return QStringLiteral("v2|") + model::colors::rawValue(profile.color) + u'|' + profile.initials();
}

std::optional<QImage> recolouredBase(platform::DesktopFiles& files, const QString& source,
                                     model::ProfileColor colour, int pixels) {
    if (pixels <= 0) return std::nullopt;
    return recolouredBase(files.icon(source, pixels), colour, pixels);
}

std::optional<QImage> recolouredBase(const QImage& icon, model::ProfileColor colour, int pixels) {
    if (pixels <= 0) return std::nullopt;
    QImage base(pixels, pixels, QImage::Format_RGBA8888_Premultiplied);
    if (base.isNull()) return std::nullopt;
    base.fill(Qt::transparent);
    if (!icon.isNull()) {
        QPainter painter(&base);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRectF(0, 0, pixels, pixels), icon);
    }
    recolour(base, model::colors::rgb(colour));
    return base;
}

int badgeFontSize(const QString& initials) {
    return initials.size() <= 1 ? 210 : 165;
}

QFont badgeFont(const QString& initials) {
    const QString family = roundedFamily();
    QFont font = family.isEmpty() ? QFont() : QFont(family);
    font.setWeight(family.isEmpty() ? QFont::Black : QFont::Bold);
    font.setPixelSize(badgeFontSize(initials));
    return font;
}

std::optional<QImage> renderIcon(platform::DesktopFiles& files, const model::Profile& profile,
                                 const QString& source) {
    return renderIcon(profile, files.icon(source, kCanvas));
}

QByteArray renderIconPng(const model::Profile& profile, const QImage& claudeIcon) {
    const auto icon = renderIcon(profile, claudeIcon);
    QByteArray png;
    QBuffer buffer(&png);
    if (!icon || !buffer.open(QIODevice::WriteOnly) || !icon->save(&buffer, "PNG")) return {};
    return png;
}

std::optional<QImage> renderIcon(const model::Profile& profile, const QImage& claudeIcon) {
    const auto base = recolouredBase(claudeIcon, profile.color, kCanvas);
    if (!base) return std::nullopt;

    QImage icon(kCanvas, kCanvas, QImage::Format_ARGB32_Premultiplied);
    if (icon.isNull()) return std::nullopt;
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform |
                           QPainter::TextAntialiasing);
    painter.drawImage(QRectF(0, 0, kCanvas, kCanvas), *base);

    const QRectF disc(kDiscCentreX - kDiscSize / 2, kDiscCentreY - kDiscSize / 2, kDiscSize, kDiscSize);
    drawDiscShadow(painter, disc, DropShadow{0.35, 24, QPointF(0, 8)});
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawEllipse(disc);

    const QColor accent = model::colors::color(profile.color);
    painter.setPen(QColor::fromRgbF(accent.redF() * 0.75f, accent.greenF() * 0.75f, accent.blueF() * 0.75f));
    const QString initials = profile.initials();
    const QFont font = badgeFont(initials);
    painter.setFont(font);
    const QFontMetricsF metrics(font, &icon);
    const double width = metrics.horizontalAdvance(initials);
    const double height = metrics.height();
    // The measured box is centred on the disc; Qt draws from the baseline.
    painter.drawText(QPointF(kDiscCentreX - width / 2, kDiscCentreY - height / 2 + metrics.ascent()),
                     initials);
    painter.end();
    return icon;
}

}  // namespace varrow::copies::AccountIcon
