#pragma once

#include <QImage>
#include <QString>
#include <QStringList>
#include <optional>

namespace varrow::install {

// Claude installed as a Linux build rather than as a bundle: a folder holding the Electron
// executable and resources/app.asar ("/usr/lib/claude-desktop"). Per-account copies of it keep the
// same layout inside a "Claude Name.app" folder. Everything here only reads files, so a broken
// archive or entry makes Claude missing (or its version "?"), never a failure.
struct LinuxClaudeInstall {
    static constexpr auto kApplicationId = "com.anthropic.claudefordesktop";
    // The package's own entry, then the name community packagings use.
    static constexpr auto kEntryFile = "com.anthropic.Claude.desktop";
    static constexpr auto kCommunityEntryFile = "claude-desktop.desktop";
    static constexpr auto kDefaultIcon = "claude-desktop";

    QString folder;        // canonical install folder
    QString executable;    // file name of the main executable inside folder
    QString desktopEntry;  // the entry it was found through; empty when found by its folder alone
    QString version;       // package.json "version" of resources/app.asar, "?" when unreadable
    QString iconName;      // the entry's Icon (a theme name or a path); may be empty
    QString wmClass;       // the entry's StartupWMClass; may be empty

    struct SearchPaths {
        QStringList applicationDirs;  // XDG application folders, most important first
        QStringList knownFolders;     // tried when no desktop entry leads to Claude
    };
    // $XDG_DATA_HOME/applications, then each of $XDG_DATA_DIRS/applications; then the folders
    // the packages are known to use.
    static SearchPaths standardPaths();
    static std::optional<LinuxClaudeInstall> find();
    static std::optional<LinuxClaudeInstall> find(const SearchPaths& paths);

    // The install (or copy) in a folder; none when the folder is not laid out like Claude's build.
    static std::optional<LinuxClaudeInstall> inspect(const QString& folder);
    // A folder with resources/app.asar whose package is Claude's (or whose main executable is
    // claude-desktop, for an archive that cannot be read) and a main executable.
    static bool isClaudeFolder(const QString& folder);
    // The main executable's file name; empty when none can be told apart from the helpers.
    static QString mainExecutable(const QString& folder);
    static QString versionOf(const QString& folder);
    // The X11 class and Wayland app id Electron gives the folder's windows: its archive's
    // desktopName without ".desktop", else its productName; empty when the archive cannot be read.
    static QString windowIdentityOf(const QString& folder);
    // The Claude folder whose main executable is this path (as /proc/PID/exe shows it); empty
    // for anything else, helpers such as chrome_crashpad_handler included.
    static QString folderOfExecutable(const QString& executablePath);
    // Whether the folder is an account's copy ("Claude Work.app") rather than an installation.
    static bool isCopyFolder(const QString& folder);
    // "Claude" for an installation, "Claude Work" for the copy "Claude Work.app".
    static QString displayName(const QString& folder);
    // The icon from the theme (or the entry's icon path), or a null image.
    static QImage themeIcon(const QString& iconName, int pixels);

    // The folder an Exec line starts (symbolic links resolved), or empty.
    static QString folderOfExec(const QStringList& execArguments);
};

}  // namespace varrow::install
