#pragma once

#include <QString>

namespace varrow::claude::paths {

// The absolute, clean path with symbolic links resolved as far as the path exists; the missing
// rest is appended unchanged (a data folder may not exist yet).
QString resolved(const QString& path);
// resolved() without leading and trailing "/": the form in which two data folders are compared.
QString normalised(const QString& path);
// Whether path lies inside folder (both already resolved), compared by whole path components.
bool isInside(const QString& path, const QString& folder);
// The file name of a bundle path, ignoring trailing "/".
QString fileName(const QString& path);

}  // namespace varrow::claude::paths
