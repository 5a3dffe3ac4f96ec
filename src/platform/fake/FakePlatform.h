#pragma once

#include "platform/DockPin.h"
#include "platform/Installations.h"
#include "platform/fake/FakeDesktopShortcuts.h"
#include "platform/fake/FakeHotKeys.h"
#include "platform/fake/FakeLinkHandlers.h"
#include "platform/fake/FakeLoginItems.h"
#include "platform/fake/FakePreferences.h"
#include "platform/fake/FakeTrayAvailability.h"
#include "platform/fake/FakeWindowServer.h"
#include "platform/fake/FakeWorkspace.h"

namespace varrow::platform::fake {

// The Dock list, with the kind of list a test says the desktop has.
class FakePinnedApps : public DockPin {
public:
    using DockPin::DockPin;
    Kind kind() override { return listKind; }
    Kind listKind = Kind::Dock;
};

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
    FakeDesktopShortcuts& desktopShortcuts;
    FakePreferences& preferences;
    FakeLoginItems& loginItems;
    FakeTrayAvailability& trays;
    FakeLinkHandlers& linkHandlers;
    // The real Dock list, over the fake preferences, worded as the list a test chooses.
    FakePinnedApps& pinnedApps;
    // None that are not bundles; copies are clones or plain copies.
    Installations& installations;
};

}  // namespace varrow::platform::fake
