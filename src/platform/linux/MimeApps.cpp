#include "platform/linux/MimeApps.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace varrow::platform::linux_ {

namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList splitDirs(const QString& value, const QString& fallback) {
    return (value.isEmpty() ? fallback : value).split(u':', Qt::SkipEmptyParts);
}

// The entries a group names for a type, in order.
QStringList entriesIn(const QByteArray& text, const QByteArray& group, const QString& type) {
    bool inGroup = false;
    const QByteArray prefix = type.toUtf8() + '=';
    for (const QByteArray& raw : text.split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.startsWith('['))
            inGroup = line == group;
        else if (inGroup && line.startsWith(prefix))
            return QString::fromUtf8(line.mid(prefix.size())).split(u';', Qt::SkipEmptyParts);
    }
    return {};
}

constexpr QByteArrayView kDefaults = "[Default Applications]";

}  // namespace

MimeApps::Folders MimeApps::fromEnvironment(const QString& userConfig, const QString& userApplications) {
    Folders folders;
    folders.userConfig = userConfig.isEmpty()
                             ? QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
                             : userConfig;
    folders.configDirs = splitDirs(qEnvironmentVariable("XDG_CONFIG_DIRS"), QStringLiteral("/etc/xdg"));
    folders.userApplications = userApplications.isEmpty()
                                   ? QStandardPaths::writableLocation(QStandardPaths::ApplicationsLocation)
                                   : userApplications;
    for (const QString& dir :
         splitDirs(qEnvironmentVariable("XDG_DATA_DIRS"), QStringLiteral("/usr/local/share:/usr/share")))
        folders.applicationDirs.append(dir + QStringLiteral("/applications"));
    for (const QString& desktop : qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(u':', Qt::SkipEmptyParts))
        folders.desktops.append(desktop.toLower());
    return folders;
}

MimeApps::MimeApps(Folders folders) : folders_(std::move(folders)) {}

QStringList MimeApps::lists(const QStringList& folders) const {
    QStringList files;
    for (const QString& folder : folders) {
        for (const QString& desktop : folders_.desktops)
            files.append(QDir(folder).filePath(desktop + QStringLiteral("-mimeapps.list")));
        files.append(QDir(folder).filePath(QStringLiteral("mimeapps.list")));
    }
    return files;
}

bool MimeApps::installed(const QString& id) const {
    if (id.isEmpty() || id.contains(u'/')) return false;
    if (QFileInfo::exists(QDir(folders_.userApplications).filePath(id))) return true;
    for (const QString& dir : folders_.applicationDirs)
        if (QFileInfo::exists(QDir(dir).filePath(id))) return true;
    return false;
}

QString MimeApps::defaultFor(const QString& type) const {
    QStringList folders{folders_.userConfig};
    folders += folders_.configDirs;
    folders.append(folders_.userApplications);
    folders += folders_.applicationDirs;
    const QStringList files = lists(folders);
    // A named entry that is not installed is passed over, as the desktops do.
    for (const QString& file : files)
        for (const QString& id : entriesIn(readAll(file), kDefaults.toByteArray(), type))
            if (installed(id)) return id;
    for (const QString& file : files)
        for (const QString& id : entriesIn(readAll(file), "[Added Associations]", type))
            if (installed(id)) return id;
    QStringList caches{QDir(folders_.userApplications).filePath(QStringLiteral("mimeinfo.cache"))};
    for (const QString& dir : folders_.applicationDirs)
        caches.append(QDir(dir).filePath(QStringLiteral("mimeinfo.cache")));
    for (const QString& cache : caches)
        for (const QString& id : entriesIn(readAll(cache), "[MIME Cache]", type))
            if (installed(id)) return id;
    return {};
}

QString MimeApps::userListFor(const QString& type) const {
    for (const QString& file : lists({folders_.userConfig}))
        if (!defaultIn(readAll(file), type).isEmpty()) return file;
    return QDir(folders_.userConfig).filePath(QStringLiteral("mimeapps.list"));
}

QString MimeApps::defaultIn(const QByteArray& mimeapps, const QString& type) {
    return entriesIn(mimeapps, kDefaults.toByteArray(), type).value(0).trimmed();
}

QByteArray MimeApps::withDefault(const QByteArray& mimeapps, const QString& type, const QString& id) {
    const QByteArray prefix = type.toUtf8() + '=';
    // Written as xdg-mime writes it: one entry, no list separator.
    const QByteArray wanted = id.isEmpty() ? QByteArray() : prefix + id.toUtf8();
    bool inGroup = false, seenGroup = false, placed = wanted.isEmpty();
    QList<QByteArray> kept;
    // The line goes at the end of the group, before the blank lines that close it.
    const auto placeAtGroupEnd = [&] {
        qsizetype at = kept.size();
        while (at > 0 && kept[at - 1].trimmed().isEmpty()) --at;
        kept.insert(at, wanted);
        placed = true;
    };
    for (const QByteArray& raw : mimeapps.split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.startsWith('[')) {
            if (inGroup && !placed) placeAtGroupEnd();
            inGroup = line == kDefaults;
            seenGroup = seenGroup || inGroup;
        } else if (inGroup && line.startsWith(prefix)) {
            if (!placed) kept.append(wanted);
            placed = true;
            continue;
        }
        kept.append(raw);
    }
    if (inGroup && !placed) placeAtGroupEnd();
    QByteArray text = kept.join('\n');
    if (!placed && !seenGroup) {
        while (text.endsWith('\n')) text.chop(1);
        if (!text.isEmpty()) text += "\n\n";
        text += kDefaults.toByteArray() + '\n' + wanted;
    }
    if (!text.isEmpty() && !text.endsWith('\n')) text += '\n';
    return text;
}

}  // namespace varrow::platform::linux_
