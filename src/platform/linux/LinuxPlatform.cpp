#include "platform/linux/LinuxPlatform.h"

#include "platform/linux/LinuxLinkHandlers.h"
#include "platform/linux/LinuxLoginItems.h"
#include "platform/linux/LinuxPreferences.h"
#include "platform/linux/LinuxTrayAvailability.h"
#include "platform/linux/LinuxWorkspace.h"

namespace varrow::platform::linux_ {

SessionType sessionType() {
    const QString type = qEnvironmentVariable("XDG_SESSION_TYPE").toLower();
    if (type == u"wayland") return SessionType::Wayland;
    if (type == u"x11") return SessionType::X11;
    if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) return SessionType::Wayland;
    if (!qEnvironmentVariableIsEmpty("DISPLAY")) return SessionType::X11;
    return SessionType::None;
}

void addProcessServices(Services& services, Installations* installations) {
    WorkspaceOptions options;
    options.installations = installations;
    services.workspace = std::make_unique<LinuxWorkspace>(services.windowServer.get(), options);
    services.preferences = std::make_unique<LinuxPreferences>();
    services.loginItems = std::make_unique<LinuxLoginItems>();
    services.trays = std::make_unique<LinuxTrayAvailability>();
    services.linkHandlers = std::make_unique<LinuxLinkHandlers>();
}

}  // namespace varrow::platform::linux_
