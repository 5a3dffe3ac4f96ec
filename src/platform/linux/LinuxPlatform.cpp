#include "platform/linux/LinuxPlatform.h"

#include "platform/Platform.h"
#include "platform/linux/LinuxHotKeys.h"
#include "platform/linux/LinuxLinkHandlers.h"
#include "platform/linux/LinuxLoginItems.h"
#include "platform/linux/LinuxPinnedApps.h"
#include "platform/linux/LinuxPreferences.h"
#include "platform/linux/LinuxTrayAvailability.h"
#include "platform/linux/LinuxWindowServer.h"
#include "platform/linux/LinuxWorkspace.h"
#include "platform/linux/LinuxX11.h"

namespace varrow::platform::linux_ {

void installLinuxPlatform() {
    auto x11 = std::make_shared<LinuxX11>();
    Services services;
    services.workspace = std::make_unique<LinuxWorkspace>(x11);
    services.windowServer = std::make_unique<LinuxWindowServer>(x11);
    services.hotKeys = std::make_unique<LinuxHotKeys>(x11);
    services.preferences = std::make_unique<LinuxPreferences>();
    services.loginItems = std::make_unique<LinuxLoginItems>();
    services.trays = std::make_unique<LinuxTrayAvailability>();
    services.linkHandlers = std::make_unique<LinuxLinkHandlers>();
    services.pinnedApps = std::make_unique<LinuxPinnedApps>();
    Platform::install(std::move(services));
}

}  // namespace varrow::platform::linux_
