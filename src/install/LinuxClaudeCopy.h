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

    // Gives a copy (linked or cloned) an archive of its own whose package.json names desktopName,
    // which Electron makes its windows' class and app id. A linked copy's resources become a
    // folder of links into the installation's, beside the copy's own archive. Empty on success,
    // else why; the copy is then left as it was and runs under the installation's class.
    static QString setDesktopName(const QString& copyPath, const QString& desktopName);
};

}  // namespace varrow::install
