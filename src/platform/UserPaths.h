#pragma once

#include <QString>

namespace varrow::platform {

// Per-user folders as this platform names them.
class UserPaths {
public:
    // The folder that holds application data ("Application Support"): ~/.local/share on Linux.
    static QString applicationSupport();
    // Where Varrow's own logs go: the XDG state folder on Linux (~/.local/state/Varrow).
    static QString logs();
    static QString home();
    // The data folder the installed Claude uses when started without one (My Claude's):
    // $XDG_CONFIG_HOME/Claude, else ~/.config/Claude, on Linux.
    static QString claudeData();
};

// Moves a file or folder to the user's Trash. Symbolic links are trashed as links, never followed.
bool moveToTrash(const QString& path);

}  // namespace varrow::platform
