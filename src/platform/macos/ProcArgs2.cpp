#include "platform/macos/ProcArgs2.h"

#include <cstring>

namespace varrow::platform {

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

}  // namespace varrow::platform
