#include "platform/fake/FakePlatform.h"
#include "platform/macos/SkyLight.h"

#include <gtest/gtest.h>
#include <unistd.h>

namespace SkyLight = varrow::platform::macos::SkyLight;

TEST(SkyLight, TheWindowListIsThePlatformsAndAProcessWithoutASerialNumberIsRefused) {
    varrow::platform::fake::FakePlatform platform;
    platform.windowServer.windows.insert(::getpid(), 77);
    EXPECT_EQ(SkyLight::frontWindow(::getpid()), 77u);
    EXPECT_FALSE(SkyLight::frontWindow(::getpid() + 1));
    // No process has pid -1: false whether or not the entry points were found.
    EXPECT_FALSE(SkyLight::setFront(-1));
}
