#pragma once

#include <sys/types.h>
#include <QtGlobal>
#include <array>
#include <optional>

namespace varrow::front {

// The window server's private entry points, looked up at run time. They exist only on macOS;
// elsewhere setFront answers false and the other strategies of the front switcher apply.
namespace SkyLight {

struct ProcessSerialNumber {
    quint32 high = 0;
    quint32 low = 0;
};

constexpr int kEventRecordLength = 248;
using EventRecord = std::array<quint8, kEventRecordLength>;

// The record that makes a window key; kind is 1 for the first post and 2 for the second.
EventRecord eventRecord(quint8 kind, quint32 window);

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

}  // namespace varrow::front
