#pragma once

#include <QString>
#include <QStringList>

namespace varrow::platform {

// The two ways any system with GNU cp copies an application folder: a clone, whose files share
// their blocks with the source, and a plain copy. Absolute paths after "--", so no name is read
// as an option; a symbolic link given as the source is followed.
namespace ApplicationCopy {

// Runs a tool to its end with its output discarded: its exit status, or -1 when it could not be
// started or was killed by a signal.
int run(const QString& tool, const QStringList& arguments);
// Clones every file or fails; on failure nothing is left at `to`.
bool clone(const QString& from, const QString& to);
// Copies every byte; on failure whatever was copied is left for the caller to remove.
bool plainCopy(const QString& from, const QString& to);

}  // namespace ApplicationCopy
}  // namespace varrow::platform
