#include "platform/linux/LinuxLinkHandlers.h"

#include "platform/AtomicFile.h"
#include "platform/Timings.h"
#include "platform/linux/DesktopEntry.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace varrow::platform::linux_ {

namespace {

QString mimeType(const QString& scheme) {
    return QStringLiteral("x-scheme-handler/") + scheme;
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

Result<> LinuxLinkHandlers::installOwnHandler(const QString& scheme) {
    if (executable_.contains(u'\n') || executable_.contains(u'\r'))
        return Failure{QCoreApplication::translate(
                           "LinkHandlers", "This program’s path cannot be written to a desktop entry."),
                       {}};
    if (!QDir().mkpath(applications_))
        return Failure{QCoreApplication::translate("LinkHandlers", "The folder %1 could not be created.")
                           .arg(applications_),
                       {}};
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
    if (!replaceWithoutSync(entryPath(), entry.toUtf8(), &why))
        return Failure{
            QCoreApplication::translate("LinkHandlers", "The desktop entry %1 could not be written.")
                .arg(entryPath()),
            why};
    return {};
}

void LinuxLinkHandlers::removeOwnHandler() {
    QFile::remove(entryPath());
}

MimeApps LinuxLinkHandlers::mimeApps() const {
    return MimeApps(MimeApps::fromEnvironment(config_, applications_));
}

QString LinuxLinkHandlers::defaultHandler(const QString& scheme) {
    return mimeApps().defaultFor(mimeType(scheme));
}

QString LinuxLinkHandlers::userHandler(const QString& scheme) {
    const QString type = mimeType(scheme);
    QFile file(mimeApps().userListFor(type));
    return file.open(QIODevice::ReadOnly) ? MimeApps::defaultIn(file.readAll(), type) : QString();
}

Result<> LinuxLinkHandlers::setDefaultHandler(const QString& scheme, const QString& handler) {
    const QString type = mimeType(scheme);
    // Written where the user's choice for the type is read from, as the desktops' own tools do;
    // an empty handler drops the user's line, so the system's default applies again.
    const QString path = mimeApps().userListFor(type);
    QFile file(path);
    if (file.exists() && !file.open(QIODevice::ReadOnly))
        return Failure{QCoreApplication::translate("LinkHandlers", "%1 could not be read.").arg(path),
                       file.errorString()};
    const QByteArray before = file.isOpen() ? file.readAll() : QByteArray();
    const QByteArray after = MimeApps::withDefault(before, type, handler);
    if (after == before) return {};
    QString why;
    QDir().mkpath(config_);
    // Not waited onto the disk: this runs on the UI thread whenever Claude claims the links. A
    // list kept elsewhere and linked here (dotfiles) is written where it is kept.
    const QString resolved = QFileInfo(path).canonicalFilePath();
    if (!replaceWithoutSync(resolved.isEmpty() ? path : resolved, after, &why))
        return Failure{QCoreApplication::translate("LinkHandlers", "%1 could not be written.").arg(path),
                       why};
    // Known as written, so the same outside write coming back just after is seen as a change.
    if (path == mimeappsPath()) lastSeen_ = after;
    return {};
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

}  // namespace varrow::platform::linux_
