#include "install/LinuxPinnedApps.h"

#include "install/PlasmaLaunchers.h"
#include "install/ShellFavourites.h"

namespace varrow::install {

void NoPinnedApps::add(const QString& appPath, Done done) {
    done(Failure{tr("This desktop keeps no list of applications Varrow can add to."), appPath});
}

std::unique_ptr<platform::PinnedApps> pinnedAppsForDesktop(const QStringList& desktops) {
    const auto is = [&desktops](const char* name) {
        return desktops.contains(QLatin1String(name), Qt::CaseInsensitive);
    };
    std::unique_ptr<platform::PinnedApps> pins;
    if (is("GNOME"))
        pins = std::make_unique<ShellFavourites>();
    else if (is("KDE"))
        pins = std::make_unique<PlasmaLaunchers>();
    else
        pins = std::make_unique<NoPinnedApps>();
    return pins;
}

}  // namespace varrow::install
