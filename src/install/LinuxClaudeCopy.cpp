#include "install/LinuxClaudeCopy.h"

#include "install/AsarRewrite.h"
#include "install/LinuxClaudeInstall.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <system_error>

namespace varrow::install {

namespace {
namespace fs = std::filesystem;

fs::path native(const QString& path) {
    return fs::path(QFile::encodeName(path).toStdString());
}

QString failure(const QString& path, const std::error_code& error) {
    return QStringLiteral("“%1”: %2").arg(path, QString::fromLocal8Bit(error.message()));
}

constexpr auto kArchive = "app.asar";

QDir::Filters everyEntry() {
    return QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
}
}  // namespace

QString LinuxClaudeCopy::makeLinked(const QString& source, const QString& copyPath) {
    const QString from = QFileInfo(source).canonicalFilePath();
    const QString executable = from.isEmpty() ? QString() : LinuxClaudeInstall::mainExecutable(from);
    if (executable.isEmpty()) return QStringLiteral("“%1” is not a Claude installation").arg(source);

    std::error_code error;
    fs::create_directories(native(QFileInfo(copyPath).absolutePath()), error);
    // create_directory succeeds on an existing folder; an existing copy is the caller's to remove.
    std::error_code ignored;
    if (!error && fs::exists(fs::symlink_status(native(copyPath), ignored)))
        error = std::make_error_code(std::errc::file_exists);
    if (!error) fs::create_directory(native(copyPath), error);
    if (error) return failure(copyPath, error);

    const QFileInfoList entries = QDir(from).entryInfoList(everyEntry());
    for (const QFileInfo& entry : entries) {
        const QString target = QDir(copyPath).filePath(entry.fileName());
        if (entry.fileName() == executable) {
            const QString real = entry.canonicalFilePath();
            // protected_hardlinks refuses links to files the user does not own (a packaged
            // install); the copy then costs the executable's size.
            fs::create_hard_link(native(real), native(target), error);
            if (error) {
                error.clear();
                fs::copy_file(native(real), native(target), fs::copy_options::overwrite_existing, error);
            }
        } else {
            fs::create_symlink(native(entry.absoluteFilePath()), native(target), error);
        }
        if (error) return failure(target, error);
    }
    return {};
}

QString LinuxClaudeCopy::setDesktopName(const QString& copyPath, const QString& desktopName) {
    const QString resources = QDir(copyPath).filePath(QStringLiteral("resources"));
    const QString archive = QStringLiteral("/") + QLatin1String(kArchive);
    const QFileInfo info(resources);
    if (!info.isSymLink()) {
        if (!info.isDir()) return QStringLiteral("“%1” is not a folder").arg(resources);
        return AsarRewrite::withDesktopName(resources + archive, resources + archive, desktopName);
    }

    // A linked copy: the folder is made beside the link and then takes its place, so the copy
    // runs on the installed resources whatever fails on the way.
    const QString installed = info.symLinkTarget();
    if (!QFileInfo(installed).isDir()) return QStringLiteral("“%1” does not lead to a folder").arg(resources);
    const QString staging = QDir(copyPath).filePath(QStringLiteral(".resources-new"));
    std::error_code error;
    std::error_code ignored;
    fs::remove_all(native(staging), ignored);  // left by an interrupted run
    fs::create_directory(native(staging), error);
    if (error) return failure(staging, error);
    QString why;
    // app.asar.unpacked among them: Electron looks for it beside the archive.
    for (const QFileInfo& entry : QDir(installed).entryInfoList(everyEntry())) {
        if (entry.fileName() == QLatin1String(kArchive)) continue;
        fs::create_symlink(native(entry.absoluteFilePath()), native(staging + u'/' + entry.fileName()),
                           error);
        if (error) {
            why = failure(entry.absoluteFilePath(), error);
            break;
        }
    }
    if (why.isEmpty())
        why = AsarRewrite::withDesktopName(installed + archive, staging + archive, desktopName);
    if (why.isEmpty()) {
        fs::remove(native(resources), error);
        if (!error) fs::rename(native(staging), native(resources), error);
        if (error) {
            why = failure(resources, error);
            fs::create_symlink(native(installed), native(resources), ignored);
        }
    }
    if (!why.isEmpty()) fs::remove_all(native(staging), ignored);
    return why;
}

}  // namespace varrow::install
