// Writes Varrow's icon for the hicolor theme, drawn by ui::AppGlyph as the tray and window icons
// are: OUT/scalable/apps/ID.svg and OUT/<N>x<N>/apps/ID.png for each usual size.
//
// usage: varrow-app-icons OUT ID
#include "ui/AppGlyph.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <QTextStream>

namespace {

constexpr int kSizes[] = {16, 22, 24, 32, 48, 64, 128, 256, 512};
constexpr int kSvgSide = 128;

bool writePng(const QString& folder, const QString& id, int side) {
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        varrow::ui::AppGlyph::paint(painter, QRectF(0, 0, side, side));
    }
    const QString dir = QStringLiteral("%1/%2x%2/apps").arg(folder).arg(side);
    return QDir().mkpath(dir) && image.save(dir + u'/' + id + QStringLiteral(".png"), "PNG");
}

bool writeSvg(const QString& folder, const QString& id) {
    const QString dir = folder + QStringLiteral("/scalable/apps");
    if (!QDir().mkpath(dir)) return false;
    QSvgGenerator svg;
    svg.setFileName(dir + u'/' + id + QStringLiteral(".svg"));
    svg.setSize(QSize(kSvgSide, kSvgSide));
    svg.setViewBox(QRect(0, 0, kSvgSide, kSvgSide));
    svg.setTitle(QStringLiteral("Varrow"));
    svg.setDescription(QStringLiteral("Three overlapping account discs on a dark rounded square"));
    QPainter painter;
    if (!painter.begin(&svg)) return false;
    varrow::ui::AppGlyph::paint(painter, QRectF(0, 0, kSvgSide, kSvgSide));
    return painter.end();
}

}  // namespace

int main(int argc, char** argv) {
    // Runs during the build, where there may be no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments();
    QTextStream err(stderr);
    if (args.size() != 3) {
        err << "usage: varrow-app-icons OUT ID\n";
        return 2;
    }
    const QString& folder = args.at(1);
    const QString& id = args.at(2);
    for (int side : kSizes) {
        if (!writePng(folder, id, side)) {
            err << "varrow-app-icons: cannot write the " << side << " px icon under " << folder << '\n';
            return 1;
        }
    }
    if (!writeSvg(folder, id)) {
        err << "varrow-app-icons: cannot write the scalable icon under " << folder << '\n';
        return 1;
    }
    return 0;
}
