#pragma once

#include <sys/types.h>
#include <QStringList>
#include <optional>

namespace varrow::platform::macos {

// Another process's argument vector from the kernel (sysctl KERN_PROCARGS2): what a macOS
// Workspace::processArguments answers. None when it cannot be read (gone, or another user's).
std::optional<QStringList> processArguments(pid_t pid);

}  // namespace varrow::platform::macos
