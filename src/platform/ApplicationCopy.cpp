#include "platform/ApplicationCopy.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <filesystem>
#include <system_error>

namespace varrow::platform::ApplicationCopy {

namespace {

constexpr auto kCopyTool = "/bin/cp";

Result<> copy(const QStringList& options, const QString& from, const QString& to) {
    return run(QString::fromLatin1(kCopyTool),
               options + QStringList{QStringLiteral("--"), QFileInfo(from).absoluteFilePath(),
                                     QFileInfo(to).absoluteFilePath()});
}

}  // namespace

Result<> run(const QString& tool, const QStringList& arguments) {
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(tool, arguments);
    const QString failed = QStringLiteral("%1 failed").arg(QFileInfo(tool).fileName());
    if (!process.waitForStarted(-1)) return Failure{failed, process.errorString()};
    process.waitForFinished(-1);
    // A tool killed by a signal has no exit status of its own.
    if (process.exitStatus() != QProcess::NormalExit) return Failure{failed, QStringLiteral("killed")};
    if (process.exitCode() == 0) return {};
    const QStringList lines = QString::fromLocal8Bit(process.readAllStandardError()).trimmed().split(u'\n');
    const QString last = lines.last().trimmed();
    return Failure{failed, last.isEmpty() ? QStringLiteral("exit status %1").arg(process.exitCode()) : last};
}

bool clone(const QString& from, const QString& to) {
    if (copy({QStringLiteral("-RH"), QStringLiteral("--reflink=always")}, from, to)) return true;
    // remove_all deletes a link as a link and never descends through one.
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::path(QFile::encodeName(to).toStdString()), ignored);
    return false;
}

Result<> plainCopy(const QString& from, const QString& to) {
    return copy({QStringLiteral("-RH")}, from, to);
}

}  // namespace varrow::platform::ApplicationCopy
