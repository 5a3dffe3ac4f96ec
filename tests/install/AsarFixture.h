#pragma once

#include <QByteArray>
#include <QtEndian>

namespace varrow::test {

// An Electron archive with a hand-written index, for entries and layouts no honest writer makes.
inline QByteArray archiveWithIndex(QByteArray json, const QByteArray& data) {
    const quint32 length = quint32(json.size());
    while (json.size() % 4) json.append('\0');
    QByteArray out(16, '\0');
    qToLittleEndian<quint32>(4, out.data());
    qToLittleEndian<quint32>(quint32(json.size()) + 8, out.data() + 4);
    qToLittleEndian<quint32>(quint32(json.size()) + 4, out.data() + 8);
    qToLittleEndian<quint32>(length, out.data() + 12);
    return out + json + data;
}

}  // namespace varrow::test
