#pragma once

#include <QByteArray>
#include <QString>

namespace varrow::platform {

// Replaces the file at path with bytes so that a reader sees either the old or the new content.
// Returns false with a description in *error when anything fails; the old file then stays.
// Use this instead of a bare QSaveFile: buffered QSaveFile reports success for a short write
// (a full disk), which would replace a good file with a truncated one.
bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error = nullptr);

}  // namespace varrow::platform
