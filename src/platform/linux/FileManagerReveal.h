#pragma once

#include <QDBusConnection>
#include <QString>
#include <functional>

namespace varrow::platform::linux_ {

// Shows a file or folder selected in the user's file manager (org.freedesktop.FileManager1's
// ShowItems on the session bus). Where no file manager answers, the fallback opens the folder
// itself (the parent folder for a file).
class FileManagerReveal {
public:
    static constexpr auto kService = "org.freedesktop.FileManager1";
    static constexpr auto kPath = "/org/freedesktop/FileManager1";

    using OpenFolder = std::function<void(const QString& folder)>;
    // Returns at once; the fallback, if needed, runs later on the main thread.
    static void reveal(const QString& path, OpenFolder fallback,
                       QDBusConnection bus = QDBusConnection::sessionBus());
};

}  // namespace varrow::platform::linux_
