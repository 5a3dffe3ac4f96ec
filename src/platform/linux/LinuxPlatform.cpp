#include "platform/linux/LinuxPlatform.h"

#include "platform/DisplaySession.h"
#include "platform/linux/LinuxDesktopFiles.h"
#include "platform/linux/LinuxLinkHandlers.h"
#include "platform/linux/LinuxLoginItems.h"
#include "platform/linux/LinuxTrayAvailability.h"
#include "platform/linux/LinuxWorkspace.h"

namespace varrow::platform::linux_ {

SessionType sessionType() {
    if (display_session::isWayland()) return SessionType::Wayland;
    return qEnvironmentVariableIsEmpty("DISPLAY") ? SessionType::None : SessionType::X11;
}

void addProcessServices(Services& services, Installations* installations) {
    WorkspaceOptions options;
    options.installations = installations;
    services.workspace = std::make_unique<LinuxWorkspace>(services.windowServer.get(), options);
    services.desktopFiles = std::make_unique<LinuxDesktopFiles>(installations);
    services.loginItems = std::make_unique<LinuxLoginItems>();
    services.trays = std::make_unique<LinuxTrayAvailability>();
    services.linkHandlers = std::make_unique<LinuxLinkHandlers>();
}

}  // namespace varrow::platform::linux_
