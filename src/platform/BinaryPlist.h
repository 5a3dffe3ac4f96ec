#pragma once

#include <QByteArray>

namespace varrow::platform {

// Whether libplist may be handed these bytes. Its binary reader accepts a string holding a NUL
// or, when ASCII-typed, bytes above 0x7F, and its accessors then abort the process on it (the
// text no longer has its recorded length); such a file is treated as unreadable instead. Text
// (XML) property lists always pass.
bool plistIsSafeToParse(const QByteArray& bytes);

}  // namespace varrow::platform
