#include "platform/macos/EventRecord.h"

namespace varrow::platform {

EventRecord eventRecord(quint8 kind, quint32 window) {
    EventRecord bytes{};
    bytes[0x04] = 0xF8;
    bytes[0x08] = kind;
    for (int i = 0x20; i <= 0x2F; ++i) bytes[i] = 0xFF;
    bytes[0x3A] = 0x10;
    for (int i = 0; i < 4; ++i) bytes[0x3C + i] = quint8(window >> (8 * i));
    return bytes;
}

}  // namespace varrow::platform
