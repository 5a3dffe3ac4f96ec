#include "install/LinuxClaudeInstall.h"

#include "install/AsarArchive.h"
#include "platform/linux/DesktopEntry.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QIcon>
#include <QMutex>
#include <QStandardPaths>

namespace varrow::install {

using platform::linux_::DesktopEntry;

namespace {

constexpr auto kArchive = "resources/app.asar";

// Files beside Electron's main executable that are executable but never the application.
bool isHelperFile(const QString& name) {
    static const QStringList helpers{QStringLiteral("chrome-sandbox"),
                                     QStringLiteral("chrome_crashpad_handler"),
                                     QStringLiteral("crashpad_handler")};
    return helpers.contains(name) || name.endsWith(QLatin1String(".so")) ||
           name.contains(QLatin1String(".so."));
}

// The package of an archive, read again only when the archive changes: the scanner asks for
// every new process, and a real index is a few hundred kilobytes of JSON.
std::optional<AsarArchive::Package> package(const QString& folder) {
    struct Cached {
        QDateTime modified;
        qint64 size = -1;
        std::optional<AsarArchive::Package> package;
    };
    static QMutex mutex;
    static QHash<QString, Cached> cache;

    const QFileInfo archive(QDir(folder).filePath(QLatin1String(kArchive)));
    if (!archive.isFile()) return std::nullopt;
    const QString key = archive.canonicalFilePath();
    {
        const QMutexLocker lock(&mutex);
        const auto it = cache.constFind(key);
        if (it != cache.cend() && it->modified == archive.lastModified() && it->size == archive.size())
            return it->package;
    }
    Cached entry{archive.lastModified(), archive.size(), AsarArchive::readPackage(key)};
    const QMutexLocker lock(&mutex);
    if (cache.size() > 64) cache.clear();
    cache.insert(key, entry);
    return entry.package;
}

QStringList dataDirs() {
    QStringList dirs;
    QString home = qEnvironmentVariable("XDG_DATA_HOME");
    if (home.isEmpty() || !QDir::isAbsolutePath(home))
        home = QDir::homePath() + QStringLiteral("/.local/share");
    dirs.append(home);
    QString system = qEnvironmentVariable("XDG_DATA_DIRS");
    if (system.isEmpty()) system = QStringLiteral("/usr/local/share:/usr/share");
    for (const QString& dir : system.split(u':', Qt::SkipEmptyParts))
        if (QDir::isAbsolutePath(dir)) dirs.append(dir);
    return dirs;
}

std::optional<LinuxClaudeInstall> fromEntry(const QString& entryPath, bool mustBeClaude) {
    const auto entry = DesktopEntry::read(entryPath);
    if (!entry) return std::nullopt;
    const auto arguments = entry->execArguments();
    if (!arguments) return std::nullopt;
    const QString folder = LinuxClaudeInstall::folderOfExec(*arguments);
    // Claude writes an entry naming its own executable at every start, a copy's too; a copy
    // ("Claude Work.app") is never the installation.
    if (folder.isEmpty() || LinuxClaudeInstall::isCopyFolder(folder)) return std::nullopt;
    auto install = LinuxClaudeInstall::inspect(folder);
    if (!install) return std::nullopt;
    if (mustBeClaude) {
        const auto pkg = package(folder);
        if (!pkg || pkg->productName != u"Claude") return std::nullopt;
    }
    install->desktopEntry = entryPath;
    install->iconName = entry->value(QStringLiteral("Icon"));
    install->wmClass = entry->value(QStringLiteral("StartupWMClass"));
    return install;
}

}  // namespace

LinuxClaudeInstall::SearchPaths LinuxClaudeInstall::standardPaths() {
    SearchPaths paths;
    for (const QString& dir : dataDirs()) paths.applicationDirs.append(dir + QStringLiteral("/applications"));
    paths.knownFolders = {QStringLiteral("/usr/lib/claude-desktop"), QStringLiteral("/opt/Claude"),
                          QStringLiteral("/opt/claude-desktop")};
    return paths;
}

std::optional<LinuxClaudeInstall> LinuxClaudeInstall::find() {
    return find(standardPaths());
}

std::optional<LinuxClaudeInstall> LinuxClaudeInstall::find(const SearchPaths& paths) {
    const QStringList entryFiles{QString::fromLatin1(kEntryFile), QString::fromLatin1(kCommunityEntryFile)};
    for (const QString& entryFile : entryFiles)
        for (const QString& dir : paths.applicationDirs) {
            const QString path = QDir(dir).filePath(entryFile);
            if (QFileInfo::exists(path))
                if (auto install = fromEntry(path, false)) return install;
        }
    // Other packagings name their entry differently; their Exec line still leads to the archive.
    for (const QString& dir : paths.applicationDirs) {
        const QStringList names = QDir(dir).entryList({QStringLiteral("*.desktop")}, QDir::Files, QDir::Name);
        for (const QString& name : names) {
            // Varrow's own entries start Varrow, and the main entries were tried above.
            if (entryFiles.contains(name) || name.startsWith(QLatin1String("varrow-"))) continue;
            if (auto install = fromEntry(QDir(dir).filePath(name), true)) return install;
        }
    }
    for (const QString& folder : paths.knownFolders)
        if (auto install = inspect(folder)) return install;
    return std::nullopt;
}

QString LinuxClaudeInstall::folderOfExec(const QStringList& execArguments) {
    qsizetype at = 0;
    // "env NAME=value … program": the program is the first word that is not an assignment.
    if (!execArguments.isEmpty() && QFileInfo(execArguments.first()).fileName() == u"env") {
        at = 1;
        while (at < execArguments.size() && execArguments.at(at).contains(u'=') &&
               !execArguments.at(at).startsWith(u'/'))
            ++at;
    }
    if (at >= execArguments.size()) return {};
    QString program = execArguments.at(at);
    if (!program.contains(u'/')) program = QStandardPaths::findExecutable(program);
    if (program.isEmpty()) return {};
    const QString resolved = QFileInfo(program).canonicalFilePath();
    if (resolved.isEmpty()) return {};
    return QFileInfo(resolved).absolutePath();
}

QString LinuxClaudeInstall::mainExecutable(const QString& folder) {
    const QDir dir(folder);
    for (const char* name : {"claude-desktop", "claude", "Claude"}) {
        const QFileInfo info(dir.filePath(QLatin1String(name)));
        if (info.isFile() && info.isExecutable()) return info.fileName();
    }
    QString only;
    const QFileInfoList files = dir.entryInfoList(QDir::Files | QDir::Executable, QDir::Name);
    for (const QFileInfo& info : files) {
        if (isHelperFile(info.fileName())) continue;
        if (!only.isEmpty()) return {};  // two candidates: no guessing
        only = info.fileName();
    }
    return only;
}

std::optional<LinuxClaudeInstall> LinuxClaudeInstall::inspect(const QString& folder) {
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    if (canonical.isEmpty() || !QFileInfo(QDir(canonical).filePath(QLatin1String(kArchive))).isFile())
        return std::nullopt;
    const QString executable = mainExecutable(canonical);
    if (executable.isEmpty()) return std::nullopt;
    LinuxClaudeInstall install;
    install.folder = canonical;
    install.executable = executable;
    install.version = versionOf(canonical);
    return install;
}

bool LinuxClaudeInstall::isClaudeFolder(const QString& folder) {
    if (!QFileInfo(QDir(folder).filePath(QLatin1String(kArchive))).isFile()) return false;
    const QString executable = mainExecutable(folder);
    if (executable.isEmpty()) return false;
    const auto pkg = package(folder);
    if (pkg && !pkg->productName.isEmpty()) return pkg->productName == u"Claude";
    return executable == u"claude-desktop";
}

QString LinuxClaudeInstall::versionOf(const QString& folder) {
    const auto pkg = package(folder);
    return pkg && !pkg->version.isEmpty() ? pkg->version : QStringLiteral("?");
}

QString LinuxClaudeInstall::windowIdentityOf(const QString& folder) {
    const auto pkg = package(folder);
    if (!pkg) return {};
    QString name = pkg->desktopName;
    if (name.endsWith(QLatin1String(".desktop"))) name.chop(8);
    return name.isEmpty() ? pkg->productName : name;
}

QString LinuxClaudeInstall::folderOfExecutable(const QString& executablePath) {
    const QFileInfo exe(executablePath);
    const QString folder = exe.absolutePath();
    if (!QFileInfo(QDir(folder).filePath(QLatin1String(kArchive))).isFile()) return {};
    if (exe.fileName() != mainExecutable(folder) || !isClaudeFolder(folder)) return {};
    return folder;
}

bool LinuxClaudeInstall::isCopyFolder(const QString& folder) {
    const QString name = QFileInfo(QDir::cleanPath(folder)).fileName();
    return name.endsWith(QLatin1String(".app")) && name.size() > 4;
}

QString LinuxClaudeInstall::displayName(const QString& folder) {
    QString name = QFileInfo(QDir::cleanPath(folder)).fileName();
    if (name.endsWith(QLatin1String(".app")) && name.size() > 4) return name.chopped(4);
    return QStringLiteral("Claude");
}

QImage LinuxClaudeInstall::themeIcon(const QString& iconName, int pixels) {
    if (iconName.isEmpty()) return {};
    QImage image;
    if (QDir::isAbsolutePath(iconName)) {
        image.load(iconName);
    } else {
        const QIcon icon = QIcon::fromTheme(iconName);
        if (!icon.isNull()) image = icon.pixmap(pixels, pixels).toImage();
        // Without a desktop session Qt may know no theme at all; hicolor is where packages put icons.
        for (const QString& dir : dataDirs()) {
            if (!image.isNull()) break;
            for (const char* size : {"512x512", "256x256", "128x128", "64x64", "48x48"}) {
                const QString path =
                    QStringLiteral("%1/icons/hicolor/%2/apps/%3.png").arg(dir, QLatin1String(size), iconName);
                if (image.load(path)) break;
            }
        }
    }
    if (image.isNull()) return {};
    return image.scaled(pixels, pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

}  // namespace varrow::install
