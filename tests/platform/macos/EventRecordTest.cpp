#include "platform/macos/EventRecord.h"

#include <gtest/gtest.h>

using varrow::platform::EventRecord;
using varrow::platform::eventRecord;

TEST(EventRecord, KeyWindowRecordBytes) {
    const EventRecord first = eventRecord(0x01, 0x12345678);
    const EventRecord second = eventRecord(0x02, 0x12345678);
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
    EXPECT_EQ(eventRecord(1, 0)[0x3C], 0);
}
