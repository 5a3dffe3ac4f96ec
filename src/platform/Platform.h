#pragma once

#include "platform/DesktopFiles.h"
#include "platform/DesktopShortcuts.h"
#include "platform/GlobalHotKeys.h"
#include "platform/Installations.h"
#include "platform/LinkHandlers.h"
#include "platform/LoginItems.h"
#include "platform/PinnedApps.h"
#include "platform/Processes.h"
#include "platform/ServiceRefs.h"
#include "platform/TrayAvailability.h"
#include "platform/WindowServer.h"

#include <memory>

namespace varrow::platform {

// The one seam between the system and its operating system. Start-up installs the real backend
// and hands the services to the parts it builds; only start-up looks them up here.
struct Services {
    std::unique_ptr<Processes> processes;
    std::unique_ptr<DesktopFiles> desktopFiles;
    std::unique_ptr<WindowServer> windowServer;
    std::unique_ptr<GlobalHotKeys> hotKeys;
    std::unique_ptr<DesktopShortcuts> desktopShortcuts;  // none where the desktop has no such service
    std::unique_ptr<LoginItems> loginItems;
    std::unique_ptr<TrayAvailability> trays;
    std::unique_ptr<LinkHandlers> linkHandlers;
    std::unique_ptr<PinnedApps> pinnedApps;
    std::unique_ptr<Installations> installations;
};

class Platform {
public:
    // Replaces the installed services; the previous ones are destroyed.
    static void install(Services services);
    static void uninstall();
    static bool isInstalled();

    static Processes& processes();
    static DesktopFiles& desktopFiles();
    static WindowServer& windowServer();
    static GlobalHotKeys& hotKeys();
    static DesktopShortcuts* desktopShortcuts();
    static LoginItems& loginItems();
    static TrayAvailability& trays();
    static LinkHandlers& linkHandlers();
    static PinnedApps& pinnedApps();
    static Installations& installations();
    // The installed services as references, for start-up to hand to the parts it builds.
    static ServiceRefs services();
};

}  // namespace varrow::platform
