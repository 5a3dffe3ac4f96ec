#pragma once

#include <QString>
#include <QStringList>

namespace varrow::platform::linux_ {

// Where this program runs from: an installed tree (PREFIX/bin/varrow beside
// PREFIX/share/applications/<application id>.desktop, as `cmake --install` and the package lay it
// out) or anywhere else, such as the build folder.
class SelfInstall {
public:
    // The reverse-DNS application id: the desktop entry's and the AppStream component's name.
    static QString applicationId();

    // True when executable sits in an installed tree.
    static bool isInstalled(const QString& executable);

    // How the autostart and launcher entries name the program. Installed: "varrow" when the search
    // path finds this very program there, else its installed path. Not installed: executable itself.
    // Empty arguments mean this process's executable and $PATH.
    static QString program(const QString& executable = {}, const QStringList& searchPaths = {});
};

}  // namespace varrow::platform::linux_
