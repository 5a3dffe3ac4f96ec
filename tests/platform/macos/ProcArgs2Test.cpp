#include "platform/macos/ProcArgs2.h"

#include <gtest/gtest.h>
#include <QByteArray>
#include <cstring>

using varrow::platform::parseProcArgs2;

namespace {

QByteArray record(qint32 count, const QByteArray& body) {
    QByteArray bytes(4, '\0');
    std::memcpy(bytes.data(), &count, 4);
    return bytes + body;
}

}  // namespace

TEST(ProcArgs2, ArgumentsAfterThePaddedExecutablePath) {
    const QByteArray bytes =
        record(3, QByteArray("/Apps/Claude\0\0\0\0Claude\0--user-data-dir=/d\0x\0HOME=/u\0", 49));
    EXPECT_EQ(parseProcArgs2(bytes, int(bytes.size())), (QStringList{"Claude", "--user-data-dir=/d", "x"}));
    // The count bounds the list: the environment is never read.
    EXPECT_EQ(parseProcArgs2(bytes, int(bytes.size()))->size(), 3);
    const QByteArray one = record(1, QByteArray("/e\0a\0b\0", 7));
    EXPECT_EQ(parseProcArgs2(one, int(one.size())), QStringList{"a"});
}

TEST(ProcArgs2, ShortAndDegenerateRecords) {
    const QByteArray bytes = record(2, QByteArray("/e\0a\0b\0", 7));
    EXPECT_FALSE(parseProcArgs2(bytes, 4));
    EXPECT_FALSE(parseProcArgs2(bytes, 0));
    EXPECT_FALSE(parseProcArgs2(bytes, -1));
    // No NUL after the path within the length; only padding after it.
    EXPECT_EQ(parseProcArgs2(record(2, "/exe"), 8), QStringList{});
    EXPECT_EQ(parseProcArgs2(record(2, QByteArray("/e\0\0\0", 5)), 9), QStringList{});
    // The length cuts: "b" is not terminated within it and is dropped.
    EXPECT_EQ(parseProcArgs2(bytes, 4 + 5), QStringList{"a"});
    EXPECT_EQ(parseProcArgs2(bytes, 4 + 6), QStringList{"a"});
    // A length beyond the buffer is clamped to it.
    EXPECT_EQ(parseProcArgs2(bytes, 4096), (QStringList{"a", "b"}));
    // Zero or negative counts give no arguments.
    EXPECT_EQ(parseProcArgs2(record(0, QByteArray("/e\0a\0", 5)), 9), QStringList{});
    EXPECT_EQ(parseProcArgs2(record(-7, QByteArray("/e\0a\0", 5)), 9), QStringList{});
}

TEST(ProcArgs2, InvalidUtf8IsReplaced) {
    const QByteArray bytes = record(1, QByteArray("/e\0caf\xff\0", 8));
    const auto arguments = parseProcArgs2(bytes, int(bytes.size()));
    ASSERT_TRUE(arguments);
    EXPECT_EQ(arguments->value(0), QString("caf") + QChar(0xFFFD));
}
