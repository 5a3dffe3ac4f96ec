#include "platform/linux/BundleInfo.h"
#include "platform/linux/LinuxPreferences.h"
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
using varrow::platform::linux_::LinuxPreferences;
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

TEST(LinuxPreferences, EveryValueKindSurvivesTheFile) {
    TempHome home;
    // XML property lists store dates to the second.
    const QDateTime when(QDate(2024, 5, 17), QTime(9, 30, 15), QTimeZone::utc());
    const QVariantMap tile{
        {"tile-type", "file-tile"},
        {"tile-data",
         QVariantMap{{"file-label", "Claude Work"},
                     {"file-data", QVariantMap{{"_CFURLString", "file:///a/"}, {"_CFURLStringType", 15}}}}}};
    const QVariantList apps{tile, QVariantMap{{"other", true}}};
    {
        LinuxPreferences prefs(home.file("prefs"));
        prefs.setAppValue("persistent-apps", apps, "com.apple.dock");
        prefs.setAppValue("real", 2.5, "com.apple.dock");
        prefs.setAppValue("negative", qint64(-3), "com.apple.dock");
        prefs.setAppValue("data", QByteArray("\x00\x01\xff", 3), "com.apple.dock");
        prefs.setAppValue("date", when, "com.apple.dock");
        prefs.setAppValue("flag", false, "com.apple.dock");
        EXPECT_FALSE(QFileInfo::exists(home.file("prefs/com.apple.dock.plist")));  // only on synchronize
        EXPECT_TRUE(prefs.synchronize("com.apple.dock"));
    }
    EXPECT_TRUE(readFile(home.file("prefs/com.apple.dock.plist")).startsWith("<?xml"));
    LinuxPreferences prefs(home.file("prefs"));
    EXPECT_EQ(prefs.copyAppValue("persistent-apps", "com.apple.dock"), QVariant(apps));
    EXPECT_EQ(prefs.copyAppValue("real", "com.apple.dock").toDouble(), 2.5);
    EXPECT_EQ(prefs.copyAppValue("negative", "com.apple.dock").toLongLong(), -3);
    EXPECT_EQ(prefs.copyAppValue("data", "com.apple.dock").toByteArray(), QByteArray("\x00\x01\xff", 3));
    EXPECT_EQ(prefs.copyAppValue("date", "com.apple.dock").toDateTime(), when);
    EXPECT_EQ(prefs.copyAppValue("flag", "com.apple.dock").typeId(), QMetaType::Bool);
    EXPECT_FALSE(prefs.copyAppValue("missing", "com.apple.dock").isValid());

    prefs.setAppValue("real", QVariant(), "com.apple.dock");
    EXPECT_TRUE(prefs.synchronize("com.apple.dock"));
    EXPECT_FALSE(LinuxPreferences(home.file("prefs")).copyAppValue("real", "com.apple.dock").isValid());
    prefs.restartOwner("com.apple.dock");  // nothing to restart; must simply return
}

TEST(LinuxPreferences, RereadsOutsideChangesAndRefusesUnsafeDomains) {
    TempHome home;
    LinuxPreferences prefs(home.file("prefs"));
    EXPECT_FALSE(prefs.copyAppValue("k", "d").isValid());
    writeFile(home.file("prefs/d.plist"), PlistValue::toXml(QVariantMap{{"k", "v"}}));
    EXPECT_EQ(prefs.copyAppValue("k", "d").toString(), "v");

    for (const char* bad : {"../escape", "a/b", "", ".."}) {
        EXPECT_TRUE(prefs.fileFor(bad).isEmpty()) << bad;
        prefs.setAppValue("k", 1, bad);
        EXPECT_FALSE(prefs.synchronize(bad));
    }
    EXPECT_FALSE(QFileInfo::exists(home.file("escape.plist")));
}

TEST(LinuxPreferences, AFileThatIsNotADictionaryIsNotOverwritten) {
    TempHome home;
    const QByteArray list = PlistValue::toXml(QVariantList{"keep me"});
    writeFile(home.file("prefs/d.plist"), list);
    LinuxPreferences prefs(home.file("prefs"));
    EXPECT_FALSE(prefs.copyAppValue("k", "d").isValid());
    prefs.setAppValue("k", 1, "d");
    EXPECT_FALSE(prefs.synchronize("d"));
    EXPECT_EQ(readFile(home.file("prefs/d.plist")), list);
}
