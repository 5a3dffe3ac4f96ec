#pragma once

#include <QString>

namespace varrow::platform::paths {

// Path text and folders, one way for the whole program.

// The path without trailing "/" ("/" itself stays).
QString withoutTrailingSlash(const QString& path);
// The file name of a path, ignoring trailing "/".
QString fileName(const QString& path);
// Absolute path with "." and ".." resolved textually; links are not followed.
QString standardised(const QString& path);
// The absolute, clean path with symbolic links resolved as far as the path exists; the missing
// rest is appended unchanged (a data folder may not exist yet).
QString resolved(const QString& path);
// resolved() without leading and trailing "/": the form in which two data folders are compared.
QString normalised(const QString& path);
// Whether path lies inside folder (both already resolved), compared by whole path components.
bool isInside(const QString& path, const QString& folder);

// Creates the folder with any missing parents: empty on success, else the system's reason.
QString makeFolder(const QString& path);

}  // namespace varrow::platform::paths
