#include "platform/linux/LinuxPlatform.h"

#include "platform/DisplaySession.h"
#include "platform/linux/LinuxDesktopFiles.h"
#include "platform/linux/LinuxLinkHandlers.h"
#include "platform/linux/LinuxLoginItems.h"
#include "platform/linux/LinuxProcesses.h"
#include "platform/linux/LinuxTrayAvailability.h"

namespace varrow::platform::linux_ {

SessionType sessionType() {
    if (display_session::isWayland()) return SessionType::Wayland;
    return qEnvironmentVariableIsEmpty("DISPLAY") ? SessionType::None : SessionType::X11;
}

void addProcessServices(Services& services, Installations* installations) {
    ProcessesOptions options;
    options.installations = installations;
    services.processes = std::make_unique<LinuxProcesses>(services.windowServer.get(), options);
    services.desktopFiles = std::make_unique<LinuxDesktopFiles>(installations);
    services.loginItems = std::make_unique<LinuxLoginItems>();
    services.trays = std::make_unique<LinuxTrayAvailability>();
    services.linkHandlers = std::make_unique<LinuxLinkHandlers>();
}

}  // namespace varrow::platform::linux_
