#include "platform/linux/ProcUsage.h"

#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QHash>

namespace varrow::platform::linux_::proc_usage {

namespace {

QByteArray readSmall(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.read(4096);
}

// The fields after the command name, which may itself hold spaces and parentheses.
QList<QByteArray> statFields(const QString& procRoot, pid_t pid) {
    const QByteArray line = readSmall(procRoot + u'/' + QString::number(pid) + QStringLiteral("/stat"));
    const qsizetype close = line.lastIndexOf(')');
    if (close < 0) return {};
    return line.mid(close + 2).trimmed().split(' ');
}

}  // namespace

QList<pid_t> tree(const QString& procRoot, pid_t pid) {
    if (statFields(procRoot, pid).isEmpty()) return {};
    QHash<pid_t, QList<pid_t>> children;
    const QStringList entries = QDir(procRoot).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        bool ok = false;
        const pid_t child = pid_t(entry.toInt(&ok));
        if (!ok) continue;
        const QList<QByteArray> fields = statFields(procRoot, child);
        if (fields.size() > 1) children[pid_t(fields.at(1).toInt())].append(child);
    }
    QList<pid_t> out{pid};
    for (qsizetype i = 0; i < out.size(); ++i) out.append(children.value(out.at(i)));
    return out;
}

std::optional<quint64> cpuMilliseconds(const QString& procRoot, pid_t pid) {
    static const long ticksPerSecond = ::sysconf(_SC_CLK_TCK);
    const QList<pid_t> pids = tree(procRoot, pid);
    if (pids.isEmpty() || ticksPerSecond <= 0) return std::nullopt;
    quint64 ticks = 0;
    for (pid_t each : pids) {
        // utime and stime are the 14th and 15th fields, the 12th and 13th after the name.
        const QList<QByteArray> fields = statFields(procRoot, each);
        if (fields.size() > 12) ticks += fields.at(11).toULongLong() + fields.at(12).toULongLong();
    }
    return ticks * 1000 / quint64(ticksPerSecond);
}

std::optional<quint64> proportionalBytes(const QString& procRoot, pid_t pid) {
    const QList<pid_t> pids = tree(procRoot, pid);
    if (pids.isEmpty()) return std::nullopt;
    quint64 kib = 0;
    for (pid_t each : pids) {
        const QByteArray rollup =
            readSmall(procRoot + u'/' + QString::number(each) + QStringLiteral("/smaps_rollup"));
        for (const QByteArray& line : rollup.split('\n')) {
            if (!line.startsWith("Pss:")) continue;
            kib += line.mid(4).trimmed().split(' ').value(0).toULongLong();
            break;
        }
    }
    return kib * 1024;
}

}  // namespace varrow::platform::linux_::proc_usage
