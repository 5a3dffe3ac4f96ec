#include "copies/FileOps.h"

#include "platform/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <system_error>

namespace varrow::copies::FileOps {

namespace {
namespace fs = std::filesystem;

fs::path native(const QString& path) {
    return fs::path(QFile::encodeName(path).toStdString());
}

QString failure(const char* what, const QString& path, const std::error_code& error) {
    return QStringLiteral("%1 “%2”: %3.")
        .arg(QLatin1String(what), path, QString::fromLocal8Bit(error.message()));
}
}  // namespace

bool entryExists(const QString& path) {
    std::error_code error;
    return fs::exists(fs::symlink_status(native(path), error));
}

QString removeEntry(const QString& path) {
    std::error_code error;
    // remove_all deletes a link as a link and never descends through one.
    fs::remove_all(native(path), error);
    return error ? failure("Couldn't remove", path, error) : QString();
}

void writeEmptyFile(const QString& path) {
    const QFileInfo info(path);
    if (info.isSymLink() || (info.exists() && !info.isFile())) removeEntry(path);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) file.close();
}

QString writePlainFile(const QString& path, const QByteArray& bytes) {
    const QFileInfo info(path);
    if (info.isSymLink() || (info.exists() && !info.isFile())) removeEntry(path);
    QString why;
    if (!platform::writeFileChecked(path, bytes, &why)) return QStringLiteral("“%1”: %2").arg(path, why);
    return {};
}

}  // namespace varrow::copies::FileOps
