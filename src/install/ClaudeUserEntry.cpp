#include "install/ClaudeUserEntry.h"

#include "install/LinuxClaudeInstall.h"
#include "platform/AtomicFile.h"
#include "platform/SystemLog.h"
#include "platform/Timings.h"
#include "platform/linux/DesktopEntry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace varrow::install {

using platform::linux_::DesktopEntry;

namespace {

// The program of an Exec or TryExec value and where it ends in the value; none when the quoting
// is broken.
std::optional<std::pair<QString, qsizetype>> programOf(const QString& value, bool wholeValue) {
    if (wholeValue) return std::pair{value.trimmed(), value.size()};
    qsizetype end = 0;
    if (value.startsWith(u'"')) {
        end = 1;
        while (end < value.size() && value.at(end) != u'"') end += value.at(end) == u'\\' ? 2 : 1;
        if (end >= value.size()) return std::nullopt;
        ++end;
    } else {
        end = value.indexOf(u' ');
        if (end < 0) end = value.size();
    }
    const auto words = DesktopEntry::splitExec(value.left(end));
    if (!words || words->size() != 1) return std::nullopt;
    return std::pair{words->first(), end};
}

}  // namespace

ClaudeUserEntry::ClaudeUserEntry(QString folder, QObject* parent)
    : QObject(parent),
      folder_(folder.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::ApplicationsLocation)
                               : std::move(folder)) {
    settle_.setSingleShot(true);
    settle_.setInterval(Timings::fileSettle());
    connect(&settle_, &QTimer::timeout, this, &ClaudeUserEntry::repair);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, &settle_, qOverload<>(&QTimer::start));
}

QString ClaudeUserEntry::path() const {
    return QDir(folder_).filePath(QLatin1String(kFileName));
}

void ClaudeUserEntry::watch() {
    // Claude makes the folder if it is missing; so does this, to see it write there.
    QDir().mkpath(folder_);
    if (!watcher_.directories().contains(folder_)) watcher_.addPath(folder_);
    repair();
}

QByteArray ClaudeUserEntry::repaired(const QByteArray& text, const QString& executable) {
    QList<QByteArray> lines = text.split('\n');
    bool changed = false;
    for (QByteArray& line : lines) {
        const bool tryExec = line.startsWith("TryExec=");
        if (!tryExec && !line.startsWith("Exec=")) continue;
        const qsizetype eq = line.indexOf('=') + 1;
        const QString value = QString::fromUtf8(line.mid(eq));
        const auto program = programOf(value, tryExec);
        if (!program) continue;
        const QFileInfo info(program->first);
        if (!info.isAbsolute() || !LinuxClaudeInstall::isCopyFolder(info.absolutePath())) continue;
        const QString replacement =
            tryExec ? executable : DesktopEntry::escapeValue(DesktopEntry::quoteArgument(executable));
        line = line.left(eq) + (replacement + value.mid(program->second)).toUtf8();
        changed = true;
    }
    return changed ? lines.join('\n') : text;
}

bool ClaudeUserEntry::repair() {
    QFile file(path());
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QByteArray before = file.read(1 << 20);
    file.close();
    const auto entry = DesktopEntry::parse(before);
    // Only the entry Claude generated is Claude's to have repaired; one the user wrote is theirs.
    if (!entry || entry->value(QStringLiteral("X-Claude-Generated")) != u"true") return false;
    // Most changes of the folder are other entries: finding the installation waits until this
    // one names a copy.
    if (repaired(before, QStringLiteral("/")) == before) return false;
    const auto install = LinuxClaudeInstall::find();
    if (!install) return false;
    const QByteArray after = repaired(before, QDir(install->folder).filePath(install->executable));
    if (after == before) return false;
    QString error;
    if (!platform::replaceWithoutSync(path(), after, &error)) {
        platform::SystemLog::write(QStringLiteral("Varrow: could not repair Claude's launcher entry: ") +
                                   error);
        return false;
    }
    emit repaired(path());
    return true;
}

}  // namespace varrow::install
