#include "install/LinuxClaudeCopy.h"

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
    if (error) return QStringLiteral("“%1”: %2").arg(copyPath, QString::fromLocal8Bit(error.message()));

    const QFileInfoList entries =
        QDir(from).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
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
        if (error) return QStringLiteral("“%1”: %2").arg(target, QString::fromLocal8Bit(error.message()));
    }
    return {};
}

}  // namespace varrow::install
