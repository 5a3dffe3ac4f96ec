#include "front/SkyLight.h"
#include "platform/fake/FakePlatform.h"

#include <gtest/gtest.h>
#include <unistd.h>

namespace SkyLight = varrow::front::SkyLight;

TEST(SkyLight, EventRecordBytes) {
    const SkyLight::EventRecord first = SkyLight::eventRecord(0x01, 0x12345678);
    const SkyLight::EventRecord second = SkyLight::eventRecord(0x02, 0x12345678);
    ASSERT_EQ(first.size(), 248u);
    for (size_t i = 0; i < first.size(); ++i) {
        quint8 expected = 0;
        if (i == 0x04)
            expected = 0xF8;
        else if (i == 0x08)
            expected = 0x01;
        else if (i >= 0x20 && i <= 0x2F)
            expected = 0xFF;
        else if (i == 0x3A)
            expected = 0x10;
        else if (i == 0x3C)
            expected = 0x78;  // window number, little-endian
        else if (i == 0x3D)
            expected = 0x56;
        else if (i == 0x3E)
            expected = 0x34;
        else if (i == 0x3F)
            expected = 0x12;
        EXPECT_EQ(first[i], expected) << "byte " << i;
        if (i != 0x08) {
            EXPECT_EQ(second[i], first[i]) << "byte " << i;
        }
    }
    EXPECT_EQ(second[0x08], 0x02);
    EXPECT_EQ(SkyLight::eventRecord(1, 0)[0x3C], 0);
}

TEST(SkyLight, MissingEntryPointsMeanNoFrontSwitching) {
    varrow::platform::fake::FakePlatform platform;
    platform.windowServer.windows.insert(::getpid(), 77);
    EXPECT_FALSE(SkyLight::isAvailable());
    EXPECT_FALSE(SkyLight::setFront(::getpid()));
    SkyLight::ProcessSerialNumber psn;
    SkyLight::makeKey(psn, 77);  // nothing to post to; must not crash
    // The window list is the platform's.
    EXPECT_EQ(SkyLight::frontWindow(::getpid()), 77u);
    EXPECT_FALSE(SkyLight::frontWindow(::getpid() + 1));
}
