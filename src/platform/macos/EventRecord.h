#pragma once

#include <QtGlobal>
#include <array>

namespace varrow::platform {

// The byte-exact record macOS's window server takes to make a window key. Plain bytes, so it is
// built and tested on every system; only the macOS backend posts it.
constexpr int kEventRecordLength = 248;
using EventRecord = std::array<quint8, kEventRecordLength>;

// kind is 1 for the first post and 2 for the second.
EventRecord eventRecord(quint8 kind, quint32 window);

}  // namespace varrow::platform
