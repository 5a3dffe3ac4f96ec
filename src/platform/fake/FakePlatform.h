#pragma once

#include "platform/DockPin.h"
#include "platform/fake/FakeHotKeys.h"
#include "platform/fake/FakeLoginItems.h"
#include "platform/fake/FakePreferences.h"
#include "platform/fake/FakeWindowServer.h"
#include "platform/fake/FakeWorkspace.h"

namespace varrow::platform::fake {

// Installs a fresh set of fakes as the platform for as long as it lives.
class FakePlatform {
public:
    FakePlatform();
    ~FakePlatform();
    FakePlatform(const FakePlatform&) = delete;
    FakePlatform& operator=(const FakePlatform&) = delete;

    FakeWorkspace& workspace;
    FakeWindowServer& windowServer;
    FakeHotKeys& hotKeys;
    FakePreferences& preferences;
    FakeLoginItems& loginItems;
    // The real Dock list, over the fake preferences.
    DockPin& pinnedApps;
};

}  // namespace varrow::platform::fake
