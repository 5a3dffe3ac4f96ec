#pragma once

namespace varrow::platform {

class DesktopFiles;
class DesktopShortcuts;
class GlobalHotKeys;
class Installations;
class LinkHandlers;
class LoginItems;
class PinnedApps;
class TrayAvailability;
class WindowServer;
class Processes;

// The platform's services as one set of references, handed to the parts that use several of them.
// It owns nothing: start-up builds it from the installed services, tests from their fakes.
struct ServiceRefs {
    Processes& processes;
    DesktopFiles& desktopFiles;
    WindowServer& windowServer;
    GlobalHotKeys& hotKeys;
    DesktopShortcuts* desktopShortcuts;  // none where the desktop has no such service
    LoginItems& loginItems;
    TrayAvailability& trays;
    LinkHandlers& linkHandlers;
    PinnedApps& pinnedApps;
    Installations& installations;
};

}  // namespace varrow::platform
