#include "platform/fake/FakePlatform.h"

#include "platform/Platform.h"

namespace varrow::platform::fake {

namespace {
template <typename T>
T& installAndKeep(std::unique_ptr<T>& slot) {
    slot = std::make_unique<T>();
    return *slot;
}

struct Built {
    std::unique_ptr<FakeProcesses> processes;
    std::unique_ptr<FakeDesktopFiles> desktopFiles;
    std::unique_ptr<FakeWindowServer> windowServer;
    std::unique_ptr<FakeHotKeys> hotKeys;
    std::unique_ptr<FakeDesktopShortcuts> desktopShortcuts;
    std::unique_ptr<FakeLoginItems> loginItems;
    std::unique_ptr<FakeTrayAvailability> trays;
    std::unique_ptr<FakeLinkHandlers> linkHandlers;
    std::unique_ptr<FakePinnedApps> pinnedApps;
    std::unique_ptr<FakeInstallations> installations;
};

Built& pending() {
    static Built built;
    return built;
}
}  // namespace

FakePlatform::FakePlatform()
    : processes(installAndKeep(pending().processes)),
      desktopFiles(installAndKeep(pending().desktopFiles)),
      windowServer(installAndKeep(pending().windowServer)),
      hotKeys(installAndKeep(pending().hotKeys)),
      desktopShortcuts(installAndKeep(pending().desktopShortcuts)),
      loginItems(installAndKeep(pending().loginItems)),
      trays(installAndKeep(pending().trays)),
      linkHandlers(installAndKeep(pending().linkHandlers)),
      pinnedApps(installAndKeep(pending().pinnedApps)),
      installations(installAndKeep(pending().installations)) {
    Built& b = pending();
    Services services;
    services.processes = std::move(b.processes);
    services.desktopFiles = std::move(b.desktopFiles);
    services.windowServer = std::move(b.windowServer);
    services.hotKeys = std::move(b.hotKeys);
    services.desktopShortcuts = std::move(b.desktopShortcuts);
    services.loginItems = std::move(b.loginItems);
    services.trays = std::move(b.trays);
    services.linkHandlers = std::move(b.linkHandlers);
    services.pinnedApps = std::move(b.pinnedApps);
    services.installations = std::move(b.installations);
    Platform::install(std::move(services));
}

ServiceRefs FakePlatform::services() const {
    return {processes,  desktopFiles, windowServer, hotKeys,    &desktopShortcuts,
            loginItems, trays,        linkHandlers, pinnedApps, installations};
}

FakePlatform::~FakePlatform() {
    Platform::uninstall();
}

}  // namespace varrow::platform::fake
