#pragma once

#include "platform/DesktopFiles.h"

#include <QHash>
#include <QList>
#include <QStringList>

namespace varrow::platform::fake {

// Icons from one picture; what was opened and shown is kept for the test to read.
class FakeDesktopFiles : public DesktopFiles {
    Q_OBJECT
public:
    using DesktopFiles::DesktopFiles;

    QImage systemIcon;  // every application's icon; null: none
    QHash<QString, QImage> customIcons;
    QList<QUrl> openedUrls;
    QStringList shownPaths;

    QImage icon(const QString&, int pixels) override {
        if (systemIcon.isNull()) return {};
        return systemIcon.scaled(pixels, pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    bool setIcon(const QByteArray& png, const QString& path) override {
        customIcons.insert(path, QImage::fromData(png, "PNG"));
        return true;
    }
    bool showInFileManager(const QString& path) override {
        shownPaths.append(path);
        return true;
    }
    bool openUrl(const QUrl& url) override {
        openedUrls.append(url);
        return true;
    }
};

}  // namespace varrow::platform::fake
