#pragma once

#include <QByteArray>
#include <QString>

namespace varrow::copies {

// File operations for the copies that never follow a symbolic link at the path they are given
// and report failures as one sentence with the system's own reason.
namespace FileOps {

// Whether anything, a dangling link included, is at the path.
bool entryExists(const QString& path);
// Deletes a file, a folder tree or a link (the link itself); empty on success or when nothing is there.
QString removeEntry(const QString& path);
// Replaces whatever file or link is there with an empty file; failures are ignored.
void writeEmptyFile(const QString& path);
// A plain, non-atomic write of the whole file that notices a short write (a full disk); a link
// at the path is replaced, not followed. Empty on success.
QString writePlainFile(const QString& path, const QByteArray& bytes);

}  // namespace FileOps
}  // namespace varrow::copies
