#include "claude/ProcessArguments.h"

#include "platform/Platform.h"

#include <cstring>

#ifdef __APPLE__
#include <sys/sysctl.h>
#include <QByteArray>
#endif

namespace varrow::claude::ProcessArguments {

std::optional<QStringList> parseProcArgs2(QByteArrayView record, int returnedLength) {
    if (returnedLength <= 4) return std::nullopt;
    // Never trust the reported length beyond the bytes actually there.
    const qsizetype length = qMin<qsizetype>(returnedLength, record.size());
    if (length < 4) return std::nullopt;
    qint32 count = 0;
    std::memcpy(&count, record.data(), sizeof count);

    QStringList arguments;
    qsizetype at = record.sliced(4, length - 4).indexOf('\0');
    if (at < 0) return arguments;
    at += 4;
    while (at < length && record[at] == '\0') ++at;
    if (at >= length) return arguments;

    while (arguments.size() < count && at < length) {
        const qsizetype nul = record.sliced(at, length - at).indexOf('\0');
        if (nul < 0) break;  // an unterminated tail is dropped
        arguments.append(QString::fromUtf8(record.sliced(at, nul)));
        at += nul + 1;
    }
    return arguments;
}

std::optional<QStringList> read(pid_t pid) {
#ifdef __APPLE__
    int argMax = 0;
    size_t size = sizeof argMax;
    int maxName[2] = {CTL_KERN, KERN_ARGMAX};
    if (::sysctl(maxName, 2, &argMax, &size, nullptr, 0) != 0 || argMax <= 0) return std::nullopt;
    QByteArray buffer(argMax, '\0');
    size = size_t(argMax);
    int name[3] = {CTL_KERN, KERN_PROCARGS2, int(pid)};
    if (::sysctl(name, 3, buffer.data(), &size, nullptr, 0) != 0) return std::nullopt;
    return parseProcArgs2(buffer, int(size));
#else
    return platform::Platform::workspace().processArguments(pid);
#endif
}

}  // namespace varrow::claude::ProcessArguments
