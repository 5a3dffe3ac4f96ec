#include "platform/linux/LinuxLinkHandlers.h"

#include "platform/AtomicFile.h"
#include "platform/Timings.h"
#include "platform/linux/DesktopEntry.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace varrow::platform::linux_ {

namespace {

QString mimeType(const QString& scheme) {
    return QStringLiteral("x-scheme-handler/") + scheme;
}

// Runs a desktop helper tool; its standard output, or none when it is missing or fails.
std::optional<QString> runTool(const QString& name, const QStringList& arguments) {
    const QString program = QStandardPaths::findExecutable(name);
    if (program.isEmpty()) return std::nullopt;
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    if (!process.waitForFinished(int(Timings::helperToolTimeout().count())) ||
        process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        process.kill();
        process.waitForFinished();
        return std::nullopt;
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

bool isDefaultGroup(const QByteArray& line) {
    return line.trimmed() == "[Default Applications]";
}

}  // namespace

LinuxLinkHandlers::LinuxLinkHandlers(QString applicationsFolder, QString configFolder, QString executable,
                                     QObject* parent)
    : LinkHandlers(parent),
      applications_(applicationsFolder.isEmpty()
                        ? QStandardPaths::writableLocation(QStandardPaths::ApplicationsLocation)
                        : std::move(applicationsFolder)),
      config_(configFolder.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
                                     : std::move(configFolder)),
      executable_(executable.isEmpty() ? QCoreApplication::applicationFilePath() : std::move(executable)) {}

QString LinuxLinkHandlers::entryPath() const {
    return QDir(applications_).filePath(QLatin1String(kEntryName));
}

QString LinuxLinkHandlers::mimeappsPath() const {
    return QDir(config_).filePath(QStringLiteral("mimeapps.list"));
}

bool LinuxLinkHandlers::installOwnHandler(const QString& scheme, QString* error) {
    auto fail = [error](const QString& text) {
        if (error) *error = text;
        return false;
    };
    if (executable_.contains(u'\n') || executable_.contains(u'\r'))
        return fail(QCoreApplication::translate("LinkHandlers",
                                                "This program’s path cannot be written to a desktop entry."));
    if (!QDir().mkpath(applications_))
        return fail(QCoreApplication::translate("LinkHandlers", "The folder %1 could not be created.")
                        .arg(applications_));
    // Quoted only where needed: the simplest openers split Exec at spaces and know no quoting.
    const QString entry =
        QStringLiteral(
            "[Desktop Entry]\n"
            "Type=Application\n"
            "Name=Varrow\n"
            "Comment=Sends sign-in links to the Claude account that asked\n"
            "Exec=%1 open-link %u\n"
            "NoDisplay=true\n"
            "Terminal=false\n"
            "MimeType=%2;\n")
            .arg(DesktopEntry::escapeValue(DesktopEntry::quoteArgument(executable_)), mimeType(scheme));
    QString why;
    if (!writeFileAtomically(entryPath(), entry.toUtf8(), &why))
        return fail(
            QCoreApplication::translate("LinkHandlers", "The desktop entry %1 could not be written: %2")
                .arg(entryPath(), why));
    return true;
}

void LinuxLinkHandlers::removeOwnHandler() {
    QFile::remove(entryPath());
}

QString LinuxLinkHandlers::decidedByUser(const QString& type) const {
    // The desktop's own lists come first, then the common one; only the user's files are read:
    // they outrank every other.
    QStringList files;
    for (const QString& desktop : qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(u':', Qt::SkipEmptyParts))
        files.append(QDir(config_).filePath(desktop.toLower() + QStringLiteral("-mimeapps.list")));
    files.append(mimeappsPath());
    for (const QString& path : std::as_const(files)) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) continue;
        const QString handler = defaultIn(file.readAll(), type);
        if (handler.isEmpty()) continue;
        // A named entry that is not installed is passed over by the desktop: the tools know how.
        if (handler.contains(u'/') || !entryInstalled(handler)) return {};
        return handler;
    }
    return {};
}

bool LinuxLinkHandlers::entryInstalled(const QString& id) const {
    if (QFileInfo::exists(QDir(applications_).filePath(id))) return true;
    QString dirs = qEnvironmentVariable("XDG_DATA_DIRS");
    if (dirs.isEmpty()) dirs = QStringLiteral("/usr/local/share:/usr/share");
    for (const QString& dir : dirs.split(u':', Qt::SkipEmptyParts))
        if (QFileInfo::exists(dir + QStringLiteral("/applications/") + id)) return true;
    return false;
}

QString LinuxLinkHandlers::defaultHandler(const QString& scheme) {
    const QString type = mimeType(scheme);
    // Where the user's own files decide, no helper tool is started: one takes tens of
    // milliseconds, and this is asked at every start of Varrow.
    if (const QString handler = decidedByUser(type); !handler.isEmpty()) return handler;
    if (const auto answer =
            runTool(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"), type}))
        return answer->trimmed();
    if (const auto answer = runTool(QStringLiteral("gio"), {QStringLiteral("mime"), type})) {
        // "Default application for “x-scheme-handler/claude”: name.desktop"
        const QString first = answer->section(u'\n', 0, 0);
        const qsizetype colon = first.lastIndexOf(QLatin1String(": "));
        return first.startsWith(QLatin1String("Default application")) && colon > 0
                   ? first.mid(colon + 2).trimmed()
                   : QString();
    }
    return userHandler(scheme);
}

QString LinuxLinkHandlers::userHandler(const QString& scheme) {
    QFile file(mimeappsPath());
    return file.open(QIODevice::ReadOnly) ? defaultIn(file.readAll(), mimeType(scheme)) : QString();
}

bool LinuxLinkHandlers::setDefaultHandler(const QString& scheme, const QString& handler, QString* error) {
    auto fail = [error](const QString& text) {
        if (error) *error = text;
        return false;
    };
    const QString type = mimeType(scheme);
    if (handler.isEmpty()) {
        // Neither tool can unset a default: drop the user's own line, so the system's applies.
        QFile file(mimeappsPath());
        if (!file.exists()) return true;
        if (!file.open(QIODevice::ReadOnly))
            return fail(QStringLiteral("%1 could not be read.").arg(mimeappsPath()));
        const QByteArray before = file.readAll();
        const QByteArray after = withoutDefault(before, type);
        QString why;
        if (after != before && !writeFileAtomically(mimeappsPath(), after, &why))
            return fail(QStringLiteral("%1 could not be written: %2").arg(mimeappsPath(), why));
        return true;
    }
    if (runTool(QStringLiteral("xdg-mime"), {QStringLiteral("default"), handler, type})) return true;
    if (runTool(QStringLiteral("gio"), {QStringLiteral("mime"), type, handler})) return true;
    return fail(QCoreApplication::translate("LinkHandlers",
                                            "Neither xdg-mime nor gio could make %1 the handler of %2 links.")
                    .arg(handler, scheme));
}

void LinuxLinkHandlers::watchUserChoices() {
    if (watcher_) return;
    watcher_ = new QFileSystemWatcher(this);
    settle_ = new QTimer(this);
    settle_->setSingleShot(true);
    settle_->setInterval(Timings::fileSettle());
    connect(settle_, &QTimer::timeout, this, &LinuxLinkHandlers::mimeappsMayHaveChanged);
    // The tools replace the file by renaming a new one over it: the folder tells of that, and
    // the file itself of writes in place.
    connect(watcher_, &QFileSystemWatcher::directoryChanged, settle_, qOverload<>(&QTimer::start));
    connect(watcher_, &QFileSystemWatcher::fileChanged, settle_, qOverload<>(&QTimer::start));
    QDir().mkpath(config_);
    watcher_->addPath(config_);
    if (QFileInfo::exists(mimeappsPath())) watcher_->addPath(mimeappsPath());
    QFile file(mimeappsPath());
    if (file.open(QIODevice::ReadOnly)) lastSeen_ = file.readAll();
}

void LinuxLinkHandlers::mimeappsMayHaveChanged() {
    if (QFileInfo::exists(mimeappsPath()) && !watcher_->files().contains(mimeappsPath()))
        watcher_->addPath(mimeappsPath());
    QFile file(mimeappsPath());
    const QByteArray now = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    if (now == lastSeen_) return;
    lastSeen_ = now;
    emit userChoicesChanged();
}

QString LinuxLinkHandlers::defaultIn(const QByteArray& mimeapps, const QString& type) {
    bool inGroup = false;
    const QByteArray prefix = type.toUtf8() + '=';
    for (const QByteArray& raw : mimeapps.split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.startsWith('['))
            inGroup = isDefaultGroup(line);
        else if (inGroup && line.startsWith(prefix))
            return QString::fromUtf8(line.mid(prefix.size())).section(u';', 0, 0).trimmed();
    }
    return {};
}

QByteArray LinuxLinkHandlers::withoutDefault(const QByteArray& mimeapps, const QString& type) {
    bool inGroup = false;
    const QByteArray prefix = type.toUtf8() + '=';
    QList<QByteArray> kept;
    const QList<QByteArray> lines = mimeapps.split('\n');
    for (const QByteArray& raw : lines) {
        const QByteArray line = raw.trimmed();
        if (line.startsWith('['))
            inGroup = isDefaultGroup(line);
        else if (inGroup && line.startsWith(prefix))
            continue;
        kept.append(raw);
    }
    return kept.join('\n');
}

}  // namespace varrow::platform::linux_
