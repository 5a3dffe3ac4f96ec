#include "platform/linux/SelfInstall.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace varrow::platform::linux_ {

namespace {

QString canonical(const QString& path) {
    const QString resolved = QFileInfo(path).canonicalFilePath();
    return resolved.isEmpty() ? QDir::cleanPath(path) : resolved;
}

}  // namespace

QString SelfInstall::applicationId() {
    return QStringLiteral(VARROW_APP_ID);
}

bool SelfInstall::isInstalled(const QString& executable) {
    if (executable.isEmpty()) return false;
    // The data folder is found relative to the binary, so a tree installed under any prefix or
    // unpacked anywhere still counts as installed.
    const QDir bin = QFileInfo(canonical(executable)).dir();
    const QString entry =
        QStringLiteral(VARROW_BIN_TO_DATA "/applications/") + applicationId() + QStringLiteral(".desktop");
    return QFileInfo(bin.filePath(entry)).isFile();
}

QString SelfInstall::program(const QString& executable, const QStringList& searchPaths) {
    QString self = executable;
    if (self.isEmpty() && QCoreApplication::instance()) self = QCoreApplication::applicationFilePath();
    if (self.isEmpty()) return QStringLiteral("varrow");
    if (!isInstalled(self)) return self;
    const QString name = QFileInfo(self).fileName();
    // A bare name keeps entries valid across upgrades and whichever of /bin or /usr/bin the
    // session resolves; only when the search path really leads back here.
    const QString found = QStandardPaths::findExecutable(name, searchPaths);
    if (!found.isEmpty() && canonical(found) == canonical(self)) return name;
    return canonical(self);
}

}  // namespace varrow::platform::linux_
