#include "platform/linux/FileManagerReveal.h"

#include "platform/SystemLog.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace varrow::platform::linux_ {

void FileManagerReveal::reveal(const QString& path, OpenFolder fallback, QDBusConnection bus) {
    const QFileInfo info(QDir::cleanPath(path));
    const QString folder = info.isDir() ? info.absoluteFilePath() : info.absolutePath();
    if (!bus.isConnected()) {
        if (fallback) fallback(folder);
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(QLatin1String(kService), QLatin1String(kPath),
                                                       QLatin1String(kService), QStringLiteral("ShowItems"));
    call << QStringList{QUrl::fromLocalFile(info.absoluteFilePath()).toString()} << QString();
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), QCoreApplication::instance());
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                     [folder, fallback](QDBusPendingCallWatcher* finished) {
                         finished->deleteLater();
                         if (!finished->isError()) return;
                         SystemLog::debug(QStringLiteral("no file manager on the bus (") +
                                          finished->error().message() + QStringLiteral("); opening ") +
                                          folder);
                         if (fallback) fallback(folder);
                     });
}

}  // namespace varrow::platform::linux_
