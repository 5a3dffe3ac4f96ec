#include "app/DesktopPlatform.h"

#include "install/ClaudeInstallations.h"
#include "install/LinuxPinnedApps.h"
#include "platform/Platform.h"
#include "platform/linux/LinuxPlatform.h"
#include "platform/x11/X11Platform.h"

namespace varrow::app {

void installDesktopPlatform() {
    using platform::linux_::SessionType;
    platform::Services services;
    switch (platform::linux_::sessionType()) {
        case SessionType::X11:
        case SessionType::None:
        // Claude and Varrow run as X11 clients of Xwayland there, so the X11 services serve.
        case SessionType::Wayland:
            platform::x11::addWindowServices(services);
            break;
    }
    auto installations = std::make_unique<install::ClaudeInstallations>();
    platform::linux_::addProcessServices(services, installations.get());
    services.installations = std::move(installations);
    services.pinnedApps = std::make_unique<install::LinuxPinnedApps>();
    platform::Platform::install(std::move(services));
}

}  // namespace varrow::app
