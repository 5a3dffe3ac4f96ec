#pragma once

#include <QString>

namespace varrow::install {

// The cheap copy of a Linux build of Claude, for file systems that cannot clone files: the main
// executable hard-linked (copied when a link is refused), everything beside it a symbolic link
// into the installation. The copy's processes then show the copy's path as their executable,
// while Electron, which finds its resources beside /proc/self/exe, reads the installed ones.
class LinuxClaudeCopy {
public:
    // Makes the copy at copyPath, which must not exist; empty on success, else a description.
    static QString makeLinked(const QString& source, const QString& copyPath);
};

}  // namespace varrow::install
