#pragma once

#include <QByteArrayView>
#include <QStringList>
#include <optional>

namespace varrow::platform {

// Decodes the kernel's KERN_PROCARGS2 record: a native 32-bit argument count, the executable
// path and its NUL padding, then the arguments, each NUL-terminated (the environment after them
// is not read). returnedLength is the length the kernel reported; none when it is 4 or less.
// Plain bytes in, so it is built and tested everywhere; only macOS hands out such records.
std::optional<QStringList> parseProcArgs2(QByteArrayView record, int returnedLength);

}  // namespace varrow::platform
