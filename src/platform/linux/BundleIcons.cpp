#include "platform/linux/BundleIcons.h"

#include "platform/AtomicFile.h"
#include "platform/Paths.h"
#include "platform/SystemLog.h"
#include "platform/linux/BundleInfo.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QPainter>
#include <QPainterPath>
#include <QProcess>
#include <QUrl>
#include <optional>

namespace varrow::platform::linux_ {

namespace {

QString cleanPath(const QString& path) {
    return paths::withoutTrailingSlash(paths::standardised(path));
}

QImage fitSquare(const QImage& image, int pixels) {
    const QImage scaled = image.scaled(pixels, pixels, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    if (scaled.width() == pixels && scaled.height() == pixels)
        return scaled.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QImage square(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    square.fill(Qt::transparent);
    QPainter painter(&square);
    painter.drawImage((pixels - scaled.width()) / 2, (pixels - scaled.height()) / 2, scaled);
    return square;
}

}  // namespace

QString BundleIcons::customIconPath(const QString& path) {
    const QFileInfo info(cleanPath(path));
    return info.absolutePath() + "/." + info.fileName() + ".icon.png";
}

bool BundleIcons::setIcon(const QByteArray& png, const QString& path) const {
    if (!png.startsWith("\x89PNG") || !QFileInfo::exists(path)) return false;
    const QString iconPath = customIconPath(path);
    if (!replaceWithoutSync(iconPath, png)) return false;
    if (!gio_.isEmpty() && QFileInfo(gio_).isExecutable()) setGioIcon(cleanPath(path), iconPath);
    return true;
}

void BundleIcons::setGioIcon(const QString& path, const QString& iconPath) const {
    // Best effort: file managers that honour GIO metadata show the icon too. Without the desktop's
    // metadata store (no GVfs) the attribute cannot be set, so ask first; any complaint of the
    // tool goes to the debug log, never to Varrow's own output.
    static std::optional<bool> metadataWritable;
    const QString gio = gio_;
    const QStringList set{QStringLiteral("set"), path, QStringLiteral("metadata::custom-icon"),
                          QUrl::fromLocalFile(iconPath).toString()};
    if (metadataWritable) {
        if (*metadataWritable) runQuietly(gio, set, {});
        return;
    }
    runQuietly(gio, {QStringLiteral("info"), QStringLiteral("--query-writable"), path},
               [gio, set](int code, const QByteArray& output) {
                   // "Writable attribute namespaces:" lists " metadata (…)" where the store is there.
                   metadataWritable = code == 0 && output.contains("\n metadata");
                   if (*metadataWritable) runQuietly(gio, set, {});
               });
}

void BundleIcons::runQuietly(const QString& program, const QStringList& arguments,
                             std::function<void(int, const QByteArray&)> done) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) return;
    // On the main thread, whoever calls: the process needs an event loop to report its end.
    QMetaObject::invokeMethod(app, [app, program, arguments, done] {
        auto* process = new QProcess(app);
        QObject::connect(process, &QProcess::finished, process,
                         [process, program, done](int code, QProcess::ExitStatus status) {
                             const QByteArray errors = process->readAllStandardError().trimmed();
                             if (!errors.isEmpty())
                                 SystemLog::debug(QFileInfo(program).fileName() + QStringLiteral(": ") +
                                                  QString::fromLocal8Bit(errors));
                             if (done)
                                 done(status == QProcess::NormalExit ? code : -1,
                                      process->readAllStandardOutput());
                             process->deleteLater();
                         });
        QObject::connect(process, &QProcess::errorOccurred, process,
                         [process, done](QProcess::ProcessError error) {
                             if (error != QProcess::FailedToStart) return;
                             if (done) done(-1, {});
                             process->deleteLater();
                         });
        process->start(program, arguments);
    });
}

QImage BundleIcons::bundleIcon(const QString& path) {
    const auto info = BundleInfo::read(path);
    if (!info || info->iconFile.isEmpty() || info->iconFile.contains(u'/')) return {};
    const QString resources = path + "/Contents/Resources/";
    QStringList names{info->iconFile};
    if (QFileInfo(info->iconFile).suffix().isEmpty())
        names = {info->iconFile + ".png", info->iconFile + ".icns"};
    for (const QString& name : names) {
        QImage image(resources + name);
        if (!image.isNull()) return image;
    }
    return {};
}

QImage BundleIcons::genericIcon(int pixels) {
    const QIcon themed = QIcon::fromTheme(QStringLiteral("application-x-executable"));
    if (!themed.isNull()) {
        const QImage image = themed.pixmap(pixels, pixels).toImage();
        if (!image.isNull()) return image;
    }
    // No icon theme: a plain grey application tile.
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal inset = pixels * 0.1, side = pixels - 2 * inset;
    QPainterPath tile;
    tile.addRoundedRect(QRectF(inset, inset, side, side), side * 0.22, side * 0.22);
    painter.fillPath(tile, QColor(0x8e, 0x8e, 0x93));
    painter.setPen(QPen(Qt::white, qMax(1.0, pixels / 24.0)));
    painter.drawRoundedRect(QRectF(inset + side * 0.25, inset + side * 0.3, side * 0.5, side * 0.4),
                            side * 0.05, side * 0.05);
    return image;
}

QImage BundleIcons::iconFor(const QString& path, int pixels) const {
    if (pixels <= 0) return {};
    QImage image(customIconPath(path));
    if (image.isNull()) image = bundleIcon(cleanPath(path));
    if (image.isNull()) image = genericIcon(pixels);
    return fitSquare(image, pixels);
}

}  // namespace varrow::platform::linux_
