#include "platform/ApplicationCopy.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <filesystem>
#include <system_error>

namespace varrow::platform::ApplicationCopy {

namespace {

constexpr auto kCopyTool = "/bin/cp";

int copy(const QStringList& options, const QString& from, const QString& to) {
    return run(QString::fromLatin1(kCopyTool),
               options + QStringList{QStringLiteral("--"), QFileInfo(from).absoluteFilePath(),
                                     QFileInfo(to).absoluteFilePath()});
}

}  // namespace

int run(const QString& tool, const QStringList& arguments) {
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(tool, arguments);
    if (!process.waitForStarted(-1)) return -1;
    process.waitForFinished(-1);
    // A tool killed by a signal has no exit status of its own.
    if (process.exitStatus() != QProcess::NormalExit) return -1;
    return process.exitCode();
}

bool clone(const QString& from, const QString& to) {
    if (copy({QStringLiteral("-RH"), QStringLiteral("--reflink=always")}, from, to) == 0) return true;
    // remove_all deletes a link as a link and never descends through one.
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::path(QFile::encodeName(to).toStdString()), ignored);
    return false;
}

bool plainCopy(const QString& from, const QString& to) {
    return copy({QStringLiteral("-RH")}, from, to) == 0;
}

}  // namespace varrow::platform::ApplicationCopy
