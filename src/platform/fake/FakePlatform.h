#pragma once

#include "platform/ServiceRefs.h"
#include "platform/fake/FakeDesktopFiles.h"
#include "platform/fake/FakeDesktopShortcuts.h"
#include "platform/fake/FakeHotKeys.h"
#include "platform/fake/FakeInstallations.h"
#include "platform/fake/FakeLinkHandlers.h"
#include "platform/fake/FakeLoginItems.h"
#include "platform/fake/FakePinnedApps.h"
#include "platform/fake/FakeProcesses.h"
#include "platform/fake/FakeTrayAvailability.h"
#include "platform/fake/FakeWindowServer.h"

namespace varrow::platform::fake {

// A fresh set of fakes, handed to the parts under test through its members or services(). It is
// also installed as the platform for as long as it lives, for the tests of start-up, which looks
// the services up.
class FakePlatform {
public:
    FakePlatform();
    ~FakePlatform();
    FakePlatform(const FakePlatform&) = delete;
    FakePlatform& operator=(const FakePlatform&) = delete;

    // The fakes as the set a part is built with.
    ServiceRefs services() const;

    FakeProcesses& processes;
    FakeDesktopFiles& desktopFiles;
    FakeWindowServer& windowServer;
    FakeHotKeys& hotKeys;
    FakeDesktopShortcuts& desktopShortcuts;
    FakeLoginItems& loginItems;
    FakeTrayAvailability& trays;
    FakeLinkHandlers& linkHandlers;
    FakePinnedApps& pinnedApps;
    // None that are not bundles; copies are clones or plain copies.
    FakeInstallations& installations;
};

}  // namespace varrow::platform::fake
