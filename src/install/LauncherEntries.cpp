#include "install/LauncherEntries.h"

#include "install/LinuxClaudeInstall.h"
#include "platform/AtomicFile.h"
#include "platform/linux/DesktopEntry.h"
#include "platform/linux/SelfInstall.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace varrow::install {

using platform::linux_::DesktopEntry;
using platform::linux_::SelfInstall;

namespace {

constexpr auto kCopyKey = "X-Varrow-Copy";

bool isOurs(const QString& fileName) {
    return fileName.startsWith(QLatin1String(LauncherEntries::kPrefix)) &&
           fileName.endsWith(QLatin1String(".desktop"));
}

}  // namespace

QString LauncherEntries::folder() {
    QString data = qEnvironmentVariable("XDG_DATA_HOME");
    if (data.isEmpty() || !QDir::isAbsolutePath(data))
        data = QDir::homePath() + QStringLiteral("/.local/share");
    return data + QStringLiteral("/applications");
}

QString LauncherEntries::stem(const QString& copyPath) {
    const QString name = QFileInfo(QDir::cleanPath(copyPath)).fileName();
    // Letters and digits only keep the class and file name safe everywhere; the hash keeps
    // "A/B" and "A:B" (both "Claude A-B.app") apart from names that only differ in punctuation.
    QString slug;
    for (const QChar c : LinuxClaudeInstall::displayName(copyPath).toLower()) {
        if (c.isLetterOrNumber() && c.unicode() < 128)
            slug += c;
        else if (!slug.endsWith(u'-'))
            slug += u'-';
    }
    while (slug.endsWith(u'-')) slug.chop(1);
    while (slug.startsWith(u'-')) slug.remove(0, 1);
    const QByteArray hash = QCryptographicHash::hash(name.toUtf8(), QCryptographicHash::Sha1).toHex().left(8);
    return QLatin1String(kPrefix) + (slug.isEmpty() ? QString() : slug + u'-') + QString::fromLatin1(hash);
}

QString LauncherEntries::entryPath(const QString& copyPath) {
    return QDir(folder()).filePath(stem(copyPath) + QStringLiteral(".desktop"));
}

QString LauncherEntries::entryId(const QString& copyPath) {
    const QFileInfo entry(entryPath(copyPath));
    return entry.exists() ? entry.fileName() : QString();
}

QString LauncherEntries::program() {
    const QString set = qEnvironmentVariable("VARROW_EXECUTABLE");
    if (!set.isEmpty()) return set;
    return SelfInstall::program();
}

QByteArray LauncherEntries::render(const Entry& entry) {
    const QString name = LinuxClaudeInstall::displayName(entry.copyPath);
    const QString exec = QStringList{DesktopEntry::quoteArgument(entry.program), QStringLiteral("open"),
                                     DesktopEntry::quoteArgument(entry.accountName)}
                             .join(u' ');
    QStringList lines{
        QStringLiteral("[Desktop Entry]"),
        QStringLiteral("Type=Application"),
        QStringLiteral("Version=1.4"),
        QStringLiteral("Name=") + DesktopEntry::escapeValue(name),
        QStringLiteral("Comment=") +
            DesktopEntry::escapeValue(
                QCoreApplication::translate("LauncherEntries", "Claude for the account %1")
                    .arg(entry.accountName)),
        // Exec values are escaped once more on top of the argument quoting.
        QStringLiteral("Exec=") + DesktopEntry::escapeValue(exec),
        QStringLiteral("Icon=") + DesktopEntry::escapeValue(entry.icon),
        QStringLiteral("StartupWMClass=") + windowClass(entry.copyPath),
        QStringLiteral("StartupNotify=false"),
        QStringLiteral("Terminal=false"),
        QStringLiteral("Categories=Network;Office;"),
        QLatin1String(kCopyKey) + u'=' + DesktopEntry::escapeValue(QDir::cleanPath(entry.copyPath)),
    };
    return (lines.join(u'\n') + u'\n').toUtf8();
}

bool LauncherEntries::write(const Entry& entry, QString* error) {
    const QString path = entryPath(entry.copyPath);
    if (!QDir().mkpath(folder())) {
        if (error) *error = QCoreApplication::translate("LauncherEntries", "cannot create %1").arg(folder());
        return false;
    }
    const QByteArray text = render(entry);
    QFile current(path);
    if (current.open(QIODevice::ReadOnly) && current.readAll() == text) return true;  // unchanged
    // A link planted under our name is replaced, never written through.
    return platform::replaceWithoutSync(path, text, error);
}

void LauncherEntries::remove(const QString& copyPath) {
    const QString path = entryPath(copyPath);
    if (QFileInfo(path).isSymLink() || QFileInfo::exists(path)) QFile::remove(path);
}

int LauncherEntries::removeOrphans(const QString& appsDir) {
    const QString apps = QDir::cleanPath(QFileInfo(appsDir).absoluteFilePath()) + u'/';
    int removed = 0;
    const QFileInfoList files =
        QDir(folder()).entryInfoList({QStringLiteral("*.desktop")}, QDir::Files | QDir::System);
    for (const QFileInfo& file : files) {
        if (!isOurs(file.fileName())) continue;
        const auto entry = DesktopEntry::read(file.filePath());
        if (!entry) continue;
        const QString copy = entry->value(QLatin1String(kCopyKey));
        // Only entries that point into this Apps folder, at a copy that is gone.
        if (copy.isEmpty() || !QDir::cleanPath(copy).startsWith(apps)) continue;
        if (QFileInfo::exists(copy)) continue;
        if (QFile::remove(file.filePath())) ++removed;
    }
    return removed;
}

}  // namespace varrow::install
