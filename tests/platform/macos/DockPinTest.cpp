#include "platform/macos/DockPin.h"

#include "platform/fake/FakePlatform.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <QDir>

namespace varrow::platform {
namespace {

QVariantMap tileFor(const QString& urlText) {
    return QVariantMap{{"tile-type", "file-tile"},
                       {"tile-data", QVariantMap{{"file-data", QVariantMap{{"_CFURLString", urlText}}}}}};
}

class DockPinTest : public ::testing::Test {
protected:
    QVariant stored() const { return fake.preferences.copyAppValue(DockPin::kKey, DockPin::kDomain); }
    void store(const QVariant& value) {
        fake.preferences.domains[DockPin::kDomain].insert(DockPin::kKey, value);
    }

    test::TempHome home;
    platform::fake::FakePlatform fake;
    DockPin& dock = fake.pinnedApps;
};

TEST_F(DockPinTest, UrlOfReadsOnlyTheExpectedShape) {
    EXPECT_EQ(DockPin::url(tileFor("file:///A.app/")), "file:///A.app/");
    EXPECT_EQ(DockPin::url({}), std::nullopt);
    EXPECT_EQ(DockPin::url({{"tile-data", "text"}}), std::nullopt);
    EXPECT_EQ(DockPin::url({{"tile-data", QVariantMap{{"file-data", QVariantMap{{"_CFURLString", 15}}}}}}),
              std::nullopt);
}

TEST_F(DockPinTest, AddingToMissingListWritesOneTileOfTheExactShape) {
    const QString app = home.file("Varrow/Apps/Claude Work.app");
    ASSERT_TRUE(dock.add(app));
    const QVariantList list = stored().toList();
    ASSERT_EQ(list.size(), 1);
    const QVariantMap tile = list.first().toMap();
    EXPECT_EQ(tile.value("tile-type"), "file-tile");
    const QVariantMap data = tile.value("tile-data").toMap();
    EXPECT_EQ(data.value("file-label"), "Claude Work");
    const QVariantMap file = data.value("file-data").toMap();
    EXPECT_EQ(file.value("_CFURLString").toString(),
              "file://" + home.path() + "/Varrow/Apps/Claude%20Work.app/");
    EXPECT_EQ(file.value("_CFURLStringType").toLongLong(), 15);
    EXPECT_EQ(fake.preferences.restarts, 1);
    EXPECT_TRUE(dock.contains(app));
    EXPECT_TRUE(dock.contains(app + "/"));

    // Already there: nothing is written and the Dock is left alone.
    ASSERT_TRUE(dock.add(app));
    EXPECT_EQ(stored().toList().size(), 1);
    EXPECT_EQ(fake.preferences.writes, 1);
    EXPECT_EQ(fake.preferences.restarts, 1);
}

TEST_F(DockPinTest, NewTileGoesAfterTheUsersItems) {
    store(QVariantList{tileFor("file:///usr/share/Editor.app/"), QVariantMap{{"tile-type", "spacer-tile"}}});
    ASSERT_TRUE(dock.add("/x/Claude A.app"));
    const QVariantList list = stored().toList();
    ASSERT_EQ(list.size(), 3);
    EXPECT_EQ(DockPin::url(list[0].toMap()), "file:///usr/share/Editor.app/");
    EXPECT_EQ(DockPin::url(list[2].toMap()), "file:///x/Claude%20A.app/");
}

TEST_F(DockPinTest, ComparisonIsExactUrlText) {
    store(QVariantList{tileFor("file:///x/Claude%20A.app")});  // no trailing slash
    EXPECT_FALSE(dock.contains("/x/Claude A.app"));
    store(QVariantList{tileFor("file:///x/Claude A.app/")});  // not percent-encoded
    EXPECT_FALSE(dock.contains("/x/Claude A.app"));
}

TEST_F(DockPinTest, AValueThatIsNotAListOfTilesIsNeverReplaced) {
    const QVariantList mixed{tileFor("file:///usr/share/Editor.app/"), QString("oops")};
    for (const QVariant& odd : {QVariant(QString("not a list")), QVariant(mixed)}) {
        store(odd);
        const int writes = fake.preferences.writes;
        EXPECT_FALSE(dock.add("/x/Claude A.app"));
        EXPECT_EQ(stored(), odd);
        EXPECT_EQ(fake.preferences.writes, writes);
        EXPECT_FALSE(dock.contains("/usr/share/Editor.app"));
        EXPECT_FALSE(dock.removeMissing("/usr/share"));
        EXPECT_EQ(fake.preferences.restarts, 0);
    }
}

TEST_F(DockPinTest, RemoveMissingDropsOnlyVanishedCopiesAndKeepsOrder) {
    const QString apps = home.file("Varrow/Apps");
    QDir().mkpath(apps + "/Claude Kept.app");
    const QVariantMap noUrl{{"tile-type", "spacer-tile"}};
    const QVariantMap other = tileFor("file:///usr/share/Editor.app/");
    const QVariantMap kept = DockPin::tile(apps + "/Claude Kept.app");
    const QVariantMap gone = DockPin::tile(apps + "/Claude Gone.app");
    store(QVariantList{other, gone, noUrl, kept});

    EXPECT_TRUE(dock.removeMissing(apps));
    EXPECT_EQ(stored().toList(), (QVariantList{other, noUrl, kept}));
    EXPECT_EQ(fake.preferences.restarts, 1);

    EXPECT_FALSE(dock.removeMissing(apps));
    EXPECT_EQ(fake.preferences.restarts, 1);
}

}  // namespace
}  // namespace varrow::platform
