#pragma once

#include <QString>
#include <optional>

namespace varrow::platform::linux_ {

// What the process service needs of an application bundle ("Name.app/Contents/Info.plist").
struct BundleInfo {
    QString identifier;  // CFBundleIdentifier; may be empty
    QString executable;  // CFBundleExecutable; may be empty
    QString iconFile;    // CFBundleIconFile; may be empty
    QString version;     // CFBundleShortVersionString; may be empty

    // None when the bundle has no readable Info.plist holding a dictionary.
    static std::optional<BundleInfo> read(const QString& bundlePath);

    // The bundle that holds an executable path ("/x/Name.app/Contents/MacOS/..." gives "/x/Name.app"),
    // or empty when the path lies in no bundle.
    static QString bundleOf(const QString& executablePath);
    // "Claude Work.app" gives "Claude Work".
    static QString displayName(const QString& bundlePath);
};

}  // namespace varrow::platform::linux_
