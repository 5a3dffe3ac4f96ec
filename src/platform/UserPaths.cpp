#include "platform/UserPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace varrow::platform {

QString UserPaths::applicationSupport() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

QString UserPaths::logs() {
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || !QDir::isAbsolutePath(state)) state = QDir::homePath() + "/.local/state";
    return state + "/Varrow";
}

QString UserPaths::home() {
    return QDir::homePath();
}

QString UserPaths::claudeData() {
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || !QDir::isAbsolutePath(config)) config = QDir::homePath() + "/.config";
    return config + "/Claude";
}

bool moveToTrash(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink()) return false;
    // Qt moves the file into ./files/ of the working folder when the data folder is missing.
    QDir().mkpath(UserPaths::applicationSupport());
    return QFile::moveToTrash(path);
}

}  // namespace varrow::platform
