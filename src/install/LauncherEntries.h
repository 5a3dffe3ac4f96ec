#pragma once

#include <QString>

namespace varrow::install {

// One desktop entry per account copy of a Linux-layout Claude, so the launcher and the taskbar show
// "Claude Work" with its own icon. Files are named "varrow-….desktop" in the user's application
// folder; nothing without that prefix is ever written or removed.
class LauncherEntries {
public:
    static constexpr auto kPrefix = "varrow-";

    struct Entry {
        QString copyPath;     // the copy folder ("…/Apps/Claude Work.app")
        QString accountName;  // the exact account name, for "varrow open NAME"
        QString icon;         // a PNG path or a theme icon name
        QString program;      // the varrow executable
    };

    // $XDG_DATA_HOME/applications (~/.local/share/applications).
    static QString folder();
    // A name derived only from the copy's folder name, so it stays the same across runs:
    // "varrow-claude-work-<8 hex digits>". It is the entry's file name and the window class.
    static QString stem(const QString& copyPath);
    static QString windowClass(const QString& copyPath) { return stem(copyPath); }
    static QString entryPath(const QString& copyPath);
    // The entry's id as desktops name it ("varrow-….desktop"); empty while it is not written.
    static QString entryId(const QString& copyPath);
    // The program the entries start: $VARROW_EXECUTABLE, else the installed varrow or this executable.
    static QString program();

    static QByteArray render(const Entry& entry);
    // Writes atomically; false with a description when the folder or file cannot be written.
    static bool write(const Entry& entry, QString* error = nullptr);
    static void remove(const QString& copyPath);
    // Removes Varrow's entries for copies inside appsDir that no longer exist; returns how many.
    static int removeOrphans(const QString& appsDir);
};

}  // namespace varrow::install
