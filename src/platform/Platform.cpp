#include "platform/Platform.h"

#include <QtGlobal>

namespace varrow::platform {

namespace {
Services& installed() {
    static Services services;
    return services;
}

template <typename T>
T& require(const std::unique_ptr<T>& service) {
    Q_ASSERT_X(service, "Platform", "platform services used before Platform::install");
    if (!service) qFatal("Varrow: platform services used before they were installed");
    return *service;
}
}  // namespace

void Platform::install(Services services) {
    installed() = std::move(services);
}

void Platform::uninstall() {
    installed() = Services{};
}

bool Platform::isInstalled() {
    return installed().processes != nullptr;
}

Processes& Platform::processes() {
    return require(installed().processes);
}
DesktopFiles& Platform::desktopFiles() {
    return require(installed().desktopFiles);
}
WindowServer& Platform::windowServer() {
    return require(installed().windowServer);
}
GlobalHotKeys& Platform::hotKeys() {
    return require(installed().hotKeys);
}
DesktopShortcuts* Platform::desktopShortcuts() {
    return installed().desktopShortcuts.get();
}
LoginItems& Platform::loginItems() {
    return require(installed().loginItems);
}
TrayAvailability& Platform::trays() {
    return require(installed().trays);
}
LinkHandlers& Platform::linkHandlers() {
    return require(installed().linkHandlers);
}
PinnedApps& Platform::pinnedApps() {
    return require(installed().pinnedApps);
}
Installations& Platform::installations() {
    return require(installed().installations);
}
ServiceRefs Platform::services() {
    return {processes(),  desktopFiles(), windowServer(), hotKeys(),    desktopShortcuts(),
            loginItems(), trays(),        linkHandlers(), pinnedApps(), installations()};
}

}  // namespace varrow::platform
