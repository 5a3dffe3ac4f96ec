#include "platform/linux/BundleInfo.h"
#include "platform/linux/PlistValue.h"
#include "support/ProcTree.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <plist/plist.h>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QTimeZone>

using varrow::platform::linux_::BundleInfo;
namespace PlistValue = varrow::platform::linux_::PlistValue;
using varrow::test::ProcTree;
using varrow::test::readFile;
using varrow::test::TempHome;
using varrow::test::writeFile;

namespace {

QByteArray toBinary(const QByteArray& xml) {
    plist_t root = nullptr;
    plist_from_xml(xml.constData(), uint32_t(xml.size()), &root);
    char* bytes = nullptr;
    uint32_t length = 0;
    plist_to_bin(root, &bytes, &length);
    QByteArray binary(bytes, length);
    free(bytes);
    plist_free(root);
    return binary;
}

}  // namespace

TEST(BundleInfo, ReadsXmlAndBinaryInfoPlists) {
    TempHome home;
    const QByteArray xml = ProcTree::infoPlist("com.example.app", "Example", "AppIcon");
    writeFile(home.file("X.app/Contents/Info.plist"), xml);
    writeFile(home.file("B.app/Contents/Info.plist"), toBinary(xml));
    ASSERT_TRUE(toBinary(xml).startsWith("bplist00"));
    for (const QString& bundle : {home.file("X.app"), home.file("B.app")}) {
        const auto info = BundleInfo::read(bundle);
        ASSERT_TRUE(info) << bundle.toStdString();
        EXPECT_EQ(info->identifier, "com.example.app");
        EXPECT_EQ(info->executable, "Example");
        EXPECT_EQ(info->iconFile, "AppIcon");
        EXPECT_EQ(info->version, "1.2.3");
    }
}

TEST(BundleInfo, MissingKeysMissingFilesAndOtherRoots) {
    TempHome home;
    writeFile(home.file("Bare.app/Contents/Info.plist"), ProcTree::infoPlist({}, {}));
    const auto bare = BundleInfo::read(home.file("Bare.app"));
    ASSERT_TRUE(bare);
    EXPECT_TRUE(bare->identifier.isEmpty());
    EXPECT_TRUE(bare->executable.isEmpty());
    EXPECT_FALSE(BundleInfo::read(home.file("None.app")));
    writeFile(home.file("List.app/Contents/Info.plist"), PlistValue::toXml(QVariantList{1, 2}));
    EXPECT_FALSE(BundleInfo::read(home.file("List.app")));
    writeFile(home.file("Junk.app/Contents/Info.plist"), "not a plist at all");
    EXPECT_FALSE(BundleInfo::read(home.file("Junk.app")));
    // A key of the wrong type counts as missing.
    writeFile(home.file("Typed.app/Contents/Info.plist"),
              PlistValue::toXml(QVariantMap{{"CFBundleIdentifier", 7}}));
    EXPECT_EQ(BundleInfo::read(home.file("Typed.app"))->identifier, "");
}

TEST(BundleInfo, BundleOfAnExecutableAndItsName) {
    EXPECT_EQ(BundleInfo::bundleOf("/a/Claude Work.app/Contents/MacOS/Claude"), "/a/Claude Work.app");
    EXPECT_EQ(BundleInfo::bundleOf("/a/Outer.app/Contents/Frameworks/H.app/Contents/MacOS/H"),
              "/a/Outer.app/Contents/Frameworks/H.app");
    EXPECT_EQ(BundleInfo::bundleOf("/usr/bin/claude"), "");
    EXPECT_EQ(BundleInfo::bundleOf("/a/.app/Contents/MacOS/x"), "");
    EXPECT_EQ(BundleInfo::bundleOf("/a/X.app/Contents/MacOS/"), "");
    EXPECT_EQ(BundleInfo::displayName("/a/Claude Work.app"), "Claude Work");
    EXPECT_EQ(BundleInfo::displayName("/a/Claude Work.app/"), "Claude Work");
}
