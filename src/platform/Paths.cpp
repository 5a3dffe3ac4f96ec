#include "platform/Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <system_error>

namespace varrow::platform::paths {

QString withoutTrailingSlash(const QString& path) {
    QString trimmed = path;
    while (trimmed.size() > 1 && trimmed.endsWith(u'/')) trimmed.chop(1);
    return trimmed;
}

QString fileName(const QString& path) {
    return QFileInfo(withoutTrailingSlash(path)).fileName();
}

QString standardised(const QString& path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

QString resolved(const QString& path) {
    if (path.isEmpty()) return {};
    QString clean =
        QDir::cleanPath(QDir::isAbsolutePath(path) ? path : QDir::current().absoluteFilePath(path));
    QString rest;
    // Walk up to the deepest part that exists, resolve that, and keep the remainder as written.
    while (true) {
        const QString canonical = QFileInfo(clean).canonicalFilePath();
        if (!canonical.isEmpty())
            return rest.isEmpty() ? canonical : QDir::cleanPath(canonical + u'/' + rest);
        const qsizetype slash = clean.lastIndexOf(u'/');
        if (slash <= 0) return QDir::cleanPath(path);
        rest = rest.isEmpty() ? clean.mid(slash + 1) : clean.mid(slash + 1) + u'/' + rest;
        clean.truncate(slash);
    }
}

QString normalised(const QString& path) {
    QString out = resolved(path);
    qsizetype start = 0;
    while (start < out.size() && out.at(start) == u'/') ++start;
    qsizetype end = out.size();
    while (end > start && out.at(end - 1) == u'/') --end;
    return out.mid(start, end - start);
}

bool isInside(const QString& path, const QString& folder) {
    if (path.isEmpty() || folder.isEmpty()) return false;
    if (folder == u"/") return true;
    return path.size() > folder.size() && path.startsWith(folder) && path.at(folder.size()) == u'/';
}

QString makeFolder(const QString& path) {
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(QFile::encodeName(path).toStdString()), error);
    if (error) return QString::fromLocal8Bit(error.message());
    if (!QFileInfo(path).isDir()) return QCoreApplication::translate("Paths", "a file is in the way");
    return {};
}

}  // namespace varrow::platform::paths
