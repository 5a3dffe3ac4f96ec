#pragma once

#include "platform/macos/EventRecord.h"

#include <sys/types.h>
#include <QtGlobal>
#include <optional>

namespace varrow::platform::macos {

// The window server's private entry points, looked up at run time: the route a macOS
// WindowServer::makeFrontmost takes. When they are missing, setFront answers false and the front
// switcher's other strategies apply.
namespace SkyLight {

struct ProcessSerialNumber {
    quint32 high = 0;
    quint32 low = 0;
};

// Makes the process frontmost with its front window key; false when the entry points are missing
// or the process has no serial number.
bool setFront(pid_t pid);
// Posts the two key-window records to the process; nothing when the entry point is missing.
void makeKey(ProcessSerialNumber& psn, quint32 window);
// The process's frontmost normal window on screen.
std::optional<quint32> frontWindow(pid_t pid);

// Whether the entry points setFront needs were found.
bool isAvailable();

}  // namespace SkyLight

}  // namespace varrow::platform::macos
