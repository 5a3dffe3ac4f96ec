#include "platform/BinaryPlist.h"

namespace varrow::platform {

namespace {

// Big-endian unsigned integer of `size` bytes at `at`; false when out of bounds or too wide.
bool readUInt(const QByteArray& bytes, qint64 at, int size, quint64* out) {
    if (size < 1 || size > 8 || at < 0 || at + size > bytes.size()) return false;
    quint64 value = 0;
    for (int i = 0; i < size; ++i) value = (value << 8) | quint8(bytes[at + i]);
    *out = value;
    return true;
}

}  // namespace

bool plistIsSafeToParse(const QByteArray& bytes) {
    if (!bytes.startsWith("bplist00")) return true;
    const qint64 size = bytes.size();
    if (size < 8 + 32) return true;  // libplist rejects it on its own
    const qint64 trailer = size - 32;
    const int offsetSize = quint8(bytes[trailer + 6]);
    quint64 count = 0, table = 0;
    if (!readUInt(bytes, trailer + 8, 8, &count) || !readUInt(bytes, trailer + 24, 8, &table)) return false;
    if (offsetSize < 1 || offsetSize > 8 || table >= quint64(size) || count > quint64(size)) return false;
    for (quint64 i = 0; i < count; ++i) {
        quint64 offset = 0;
        if (!readUInt(bytes, qint64(table + i * offsetSize), offsetSize, &offset)) return false;
        if (offset >= quint64(size)) return false;
        const quint8 marker = quint8(bytes[qint64(offset)]);
        const bool ascii = (marker >> 4) == 0x5, utf16 = (marker >> 4) == 0x6;
        if (!ascii && !utf16) continue;  // only strings matter
        qint64 start = qint64(offset) + 1;
        quint64 length = marker & 0x0F;
        if (length == 0x0F) {
            // The length follows as an integer object: marker 0x1N, then 2^N bytes.
            if (start >= size) return false;
            const quint8 intMarker = quint8(bytes[start]);
            if ((intMarker >> 4) != 0x1 || (intMarker & 0x0F) > 3) return false;
            const int width = 1 << (intMarker & 0x0F);
            if (!readUInt(bytes, start + 1, width, &length)) return false;
            start += 1 + width;
        }
        const quint64 width = utf16 ? 2 : 1;
        if (length > quint64(size - start) / width) return false;
        for (qint64 at = start; at < start + qint64(length * width); at += qint64(width)) {
            if (ascii && (quint8(bytes[at]) == 0 || quint8(bytes[at]) > 0x7F)) return false;
            if (utf16 && bytes[at] == 0 && bytes[at + 1] == 0) return false;
        }
    }
    return true;
}

}  // namespace varrow::platform
