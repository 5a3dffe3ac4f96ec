#pragma once

#include "platform/Result.h"

#include <QString>
#include <QStringList>

namespace varrow::platform {

// The two ways any system with GNU cp copies an application folder: a clone, whose files share
// their blocks with the source, and a plain copy. Absolute paths after "--", so no name is read
// as an option; a symbolic link given as the source is followed.
namespace ApplicationCopy {

// Runs a tool to its end, its output discarded: done when it exits with 0; otherwise the failure,
// with the tool's last line of errors (or how it ended) as the reason.
Result<> run(const QString& tool, const QStringList& arguments);
// Clones every file or fails; on failure nothing is left at `to`.
bool clone(const QString& from, const QString& to);
// Copies every byte; on failure whatever was copied is left for the caller to remove.
Result<> plainCopy(const QString& from, const QString& to);

}  // namespace ApplicationCopy
}  // namespace varrow::platform
