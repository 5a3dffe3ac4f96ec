#pragma once

#include <sys/types.h>
#include <QByteArrayView>
#include <QStringList>
#include <optional>

namespace varrow::claude {

// Another process's argument vector.
namespace ProcessArguments {

// The arguments a process was started with, first the program as started; none when they cannot
// be read (the process is gone or belongs to another user).
std::optional<QStringList> read(pid_t pid);

// Decodes the kernel's KERN_PROCARGS2 record: a native 32-bit argument count, the executable
// path and its NUL padding, then the arguments, each NUL-terminated (the environment after them
// is not read). returnedLength is the length the kernel reported; none when it is 4 or less.
std::optional<QStringList> parseProcArgs2(QByteArrayView record, int returnedLength);

}  // namespace ProcessArguments

}  // namespace varrow::claude
