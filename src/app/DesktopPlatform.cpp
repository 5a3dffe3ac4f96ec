#include "app/DesktopPlatform.h"

#include "install/ClaudeInstallations.h"
#include "install/LinuxPinnedApps.h"
#include "platform/Installations.h"
#include "platform/Platform.h"
#include "platform/Processes.h"
#include "platform/gnome/DBusExtensionLink.h"
#include "platform/gnome/GnomeShortcuts.h"
#include "platform/gnome/GnomeWindowServer.h"
#include "platform/kde/KWinWindowServer.h"
#include "platform/linux/LinuxPlatform.h"
#include "platform/linux/PortalShortcuts.h"
#include "platform/wayland/ForeignToplevels.h"
#include "platform/wayland/WlrWindowServer.h"
#include "platform/x11/X11Platform.h"
#include "system/CycleHotKey.h"

namespace varrow::app {

namespace {

using platform::Platform;
using platform::wayland::WlrWindowServer;

// The running applications and the app ids their native windows may carry: the one their
// installation gives them (Electron's, from its archive), and the last --class= they were started
// with (which Chromium-based builds take instead).
QList<WlrWindowServer::Owner> applicationWindowOwners() {
    QList<WlrWindowServer::Owner> owners;
    for (const platform::AppHandle& app : Platform::processes().applications()) {
        if (!app) continue;
        WlrWindowServer::Owner owner{app->processIdentifier(), {}};
        if (const platform::InstallationRef installation =
                Platform::installations().installation(app->installationFolder()))
            if (const QString windowClass = installation->windowClass(); !windowClass.isEmpty())
                owner.appIds.append(windowClass);
        QString classArgument;
        for (const QString& argument :
             Platform::processes().processArguments(owner.pid).value_or(QStringList()))
            if (argument.startsWith(QLatin1String("--class="))) classArgument = argument.mid(8);
        if (!classArgument.isEmpty() && !owner.appIds.contains(classArgument))
            owner.appIds.append(classArgument);
        if (owner.appIds.isEmpty()) owner.appIds.append(app->applicationId());
        owners.append(owner);
    }
    return owners;
}

bool isGnome() {
    return qEnvironmentVariable("XDG_CURRENT_DESKTOP")
        .split(u':')
        .contains(QLatin1String("GNOME"), Qt::CaseInsensitive);
}

// The extension holds the keys while a running Claude is in front, so it is told each start and exit.
void watchRunningApplications(platform::gnome::GnomeWindowServer* windows) {
    auto update = [windows] {
        QList<pid_t> pids;
        for (const platform::AppHandle& app : Platform::processes().applications())
            if (app && !app->isTerminated()) pids.append(app->processIdentifier());
        windows->watchProcesses(pids);
    };
    QObject::connect(&Platform::processes(), &platform::Processes::applicationLaunched, windows, update);
    QObject::connect(&Platform::processes(), &platform::Processes::applicationExited, windows, update);
    update();
}

}  // namespace

void installDesktopPlatform() {
    using platform::linux_::SessionType;
    platform::Services services;
    platform::gnome::GnomeWindowServer* gnome = nullptr;
    switch (platform::linux_::sessionType()) {
        case SessionType::X11:
        case SessionType::None:
            platform::x11::addWindowServices(services);
            break;
        case SessionType::Wayland:
            // Varrow runs as an X11 client of Xwayland there, so the X11 services serve; where the
            // compositor lists its windows (wlroots) or takes scripts (KWin), native Claude windows
            // are seen too.
            platform::x11::addWindowServices(services);
            if (auto toplevels = platform::wayland::ForeignToplevels::connect()) {
                services.windowServer = std::make_unique<WlrWindowServer>(
                    std::move(toplevels), std::move(services.windowServer), applicationWindowOwners);
            } else if (isGnome()) {
                // mutter shows its windows to no other program; Varrow's extension does, once the
                // shell has loaded it. The shell holds the keys for it.
                auto link = std::make_shared<platform::gnome::DBusExtensionLink>();
                auto windows = std::make_unique<platform::gnome::GnomeWindowServer>(
                    std::move(services.windowServer), link);
                gnome = windows.get();
                services.windowServer = std::move(windows);
                services.desktopShortcuts = std::make_unique<platform::gnome::GnomeShortcuts>(link);
                break;
            } else {
                services.windowServer =
                    platform::kde::KWinWindowServer::over(std::move(services.windowServer));
            }
            // A native Claude window in front keeps keys from Xwayland: the hot key needs the
            // desktop's own shortcuts there.
            if (services.windowServer->seesNativeWindows())
                services.desktopShortcuts = std::make_unique<platform::linux_::PortalShortcuts>();
            break;
    }
    auto installations = std::make_unique<install::ClaudeInstallations>();
    platform::linux_::addProcessServices(services, installations.get());
    services.installations = std::move(installations);
    services.pinnedApps = install::pinnedAppsForDesktop(
        qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(u':', Qt::SkipEmptyParts));
    platform::Platform::install(std::move(services));
    if (gnome) watchRunningApplications(gnome);
}

ui::DesktopWords desktopWords() {
    ui::DesktopWords words;
    if (!Platform::isInstalled()) return words;
    words.pinned = Platform::pinnedApps().kind();
    // Read each time: a layout switch can change what the key prints.
    words.cycleKeyLabel = [] { return Platform::hotKeys().keyLabel(system::CycleHotKey::kKey); };
    return words;
}

}  // namespace varrow::app
