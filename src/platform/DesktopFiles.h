#pragma once

#include <QImage>
#include <QObject>
#include <QString>
#include <QUrl>

namespace varrow::platform {

// What the desktop shows of files and where it opens them: an application's icon, a custom icon
// for an account's copy, a folder in the file manager, a web page in the browser.
class DesktopFiles : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // The icon the desktop shows for the application or file at a path, pixels on a side.
    virtual QImage icon(const QString& path, int pixels) = 0;
    // A custom icon (PNG bytes, encoded off the UI thread by the caller) shown for the file or
    // application folder wherever the desktop shows application icons.
    virtual bool setIcon(const QByteArray& png, const QString& path) = 0;
    // Opens the file manager at the item, selected where the file manager can select it.
    virtual bool showInFileManager(const QString& path) = 0;
    virtual bool openUrl(const QUrl& url) = 0;
};

}  // namespace varrow::platform
