#pragma once

#include <QByteArray>
#include <QString>

namespace varrow::platform {

// Replaces the file at path with bytes so that a reader sees either the old or the new content.
// Returns false with a description in *error when anything fails; the old file then stays.
// Use this instead of a bare QSaveFile: buffered QSaveFile reports success for a short write
// (a full disk), which would replace a good file with a truncated one.
bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error = nullptr);

// The same all-or-nothing replacement without waiting for the disk to confirm it, which can take
// tens of milliseconds on a busy disk: for files Varrow makes again whenever they are missing or
// unreadable (a copy's record and icon, launcher entries), and for files the desktop's own tools
// replace the same way (mimeapps.list, which xdg-mime rewrites so). A symbolic link at path is
// replaced, not written through.
bool replaceWithoutSync(const QString& path, const QByteArray& bytes, QString* error = nullptr);

// A plain write in place (truncate, then write) that still notices a short write: returns false
// with a description in *error when not every byte reached the file. A reader may see it partly
// written; callers that need all or nothing use writeFileAtomically.
bool writeFileChecked(const QString& path, const QByteArray& bytes, QString* error = nullptr);

}  // namespace varrow::platform
