#pragma once

#include <QImage>
#include <QString>
#include <memory>

namespace varrow::platform {

// One installed application (Claude, or an account's copy of it) in the layout it ships in: what
// Varrow needs to recognise its processes, start it and show it. Each layout has its own
// implementation; what it reads from the folder is read when asked, so a handle is cheap to make.
class Installation {
public:
    enum class Layout {
        // A Linux build: the executable beside resources/ in one folder (Claude's package, or a
        // copy laid out the same way). Its helpers run the same executable.
        Package,
        // "Name.app" with Contents/Info.plist and the executable in Contents/MacOS/.
        Bundle,
    };

    explicit Installation(QString folder) : folder_(std::move(folder)) {}
    virtual ~Installation() = default;
    Installation(const Installation&) = delete;
    Installation& operator=(const Installation&) = delete;

    virtual Layout layout() const = 0;
    // The folder as it was named (links not resolved).
    QString folder() const { return folder_; }
    // The main executable's absolute path; empty when the installation names none that could be
    // started (the other executables in it are helpers).
    virtual QString executable() const = 0;
    // Who the application is, the same for every copy of it: what tells Claude's processes from
    // others'. Empty when the installation does not say.
    virtual QString applicationId() const = 0;
    // The name the desktop shows for it: "Claude", or "Claude Work" for a copy.
    virtual QString displayName() const = 0;
    // Its version, or "?" when it cannot be read.
    virtual QString version() const = 0;
    // The app id (X11 window class) its windows carry when it is started without --class=; empty
    // when the installation does not say.
    virtual QString windowClass() const { return {}; }
    // Its icon from the desktop's theme; a null image when it has none there (a bundle's own icon
    // file is the desktop files service's).
    virtual QImage icon(int pixels) const { return (void)pixels, QImage(); }

private:
    QString folder_;
};

using InstallationRef = std::shared_ptr<const Installation>;

}  // namespace varrow::platform
