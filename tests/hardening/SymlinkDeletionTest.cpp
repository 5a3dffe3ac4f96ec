// Links planted inside Varrow's own folders must never lead a deletion outside them.
#include "copies/AppCloner.h"
#include "model/ProfileStore.h"
#include "platform/fake/FakePlatform.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

using namespace varrow;
using copies::AppCloner;
using test::TempHome;

namespace {

// A folder standing in for the user's home, with files that must survive.
struct UserHome {
    explicit UserHome(const TempHome& home) : path(home.file("user-home")) {
        test::writeFile(path + "/Documents/thesis.txt", "years of work");
        test::writeFile(path + "/.ssh/id_ed25519", "secret");
        test::writeFile(path + "/Claude Work.app/Contents/Info.plist", "not a copy of ours");
    }
    bool intact() const {
        return test::readFile(path + "/Documents/thesis.txt") == "years of work" &&
               test::readFile(path + "/.ssh/id_ed25519") == "secret" &&
               test::readFile(path + "/Claude Work.app/Contents/Info.plist") == "not a copy of ours";
    }
    QString path;
};

}  // namespace

TEST(SymlinkSafety, RemoveUnusedDeletesLinksNotWhatTheyPointAt) {
    TempHome home;
    platform::fake::FakePlatform platform;
    const UserHome user(home);
    const QString apps = home.file("Varrow/Apps");
    QDir().mkpath(apps + "/Claude Old.app/Contents");
    // A link as a copy, a link inside a real copy, a link as a metadata file and as a copy's icon.
    ASSERT_TRUE(QFile::link(user.path, apps + "/Claude Gone.app"));
    ASSERT_TRUE(QFile::link(user.path, apps + "/Claude Old.app/Contents/home"));
    ASSERT_TRUE(QFile::link(user.path + "/Documents/thesis.txt", apps + "/.Claude Gone.app.json"));
    ASSERT_TRUE(
        QFile::link(user.path + "/.ssh/id_ed25519", AppCloner::customIconPath(apps + "/Claude Old.app")));
    ASSERT_TRUE(QFile::link(user.path + "/Claude Work.app", apps + "/Claude Dangling.app"));

    AppCloner::removeUnused(platform.installations, {}, {}, apps);
    EXPECT_TRUE(user.intact());
    EXPECT_TRUE(QDir(apps)
                    .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)
                    .isEmpty());
}

TEST(SymlinkSafety, RunningCopyReachedThroughALinkIsKept) {
    TempHome home;
    platform::fake::FakePlatform platform;
    const UserHome user(home);
    const QString apps = home.file("Varrow/Apps");
    QDir().mkpath(apps);
    // A copy kept elsewhere and linked in: it runs, so neither the link nor its target may go.
    ASSERT_TRUE(QFile::link(user.path + "/Claude Work.app", apps + "/Claude Work.app"));
    AppCloner::removeUnused(platform.installations, {}, {user.path + "/Claude Work.app"}, apps);
    EXPECT_TRUE(QFileInfo(apps + "/Claude Work.app").isSymLink());
    EXPECT_TRUE(user.intact());
}

TEST(SymlinkSafety, MetadataWrittenBesideALinkedRecordStaysInApps) {
    TempHome home;
    platform::fake::FakePlatform platform;
    const UserHome user(home);
    const QString apps = home.file("Varrow/Apps");
    QDir().mkpath(apps);
    ASSERT_TRUE(
        QFile::link(user.path + "/Documents/thesis.txt", AppCloner::metaPath(apps + "/Claude Work.app")));
    AppCloner::writeMeta({"/opt/Claude.app", "1.0", ""}, apps + "/Claude Work.app");
    EXPECT_TRUE(user.intact());
    EXPECT_FALSE(QFileInfo(AppCloner::metaPath(apps + "/Claude Work.app")).isSymLink());
}

TEST(SymlinkSafety, ReplacingACopyThatIsALinkKeepsTheTarget) {
    TempHome home;
    platform::fake::FakePlatform platform;
    const UserHome user(home);
    const QString apps = home.file("Varrow/Apps");
    test::writeFile(home.file("Claude.app/Contents/Info.plist"), "<plist><dict/></plist>");
    QDir().mkpath(apps);
    ASSERT_TRUE(QFile::link(user.path, apps + "/Claude Work.app"));
    EXPECT_EQ(
        AppCloner::makeCopy(platform.installations, home.file("Claude.app"), apps + "/Claude Work.app", apps),
        "");
    EXPECT_TRUE(user.intact());
    EXPECT_FALSE(QFileInfo::exists(user.path + "/Claude.app")) << "copied into the link's target";
    EXPECT_TRUE(QFileInfo(apps + "/Claude Work.app/Contents/Info.plist").isFile());
}

TEST(SymlinkSafety, RemovingAnAccountTrashesOnlyItsOwnFolder) {
    TempHome home;
    platform::fake::FakePlatform platform;
    const UserHome user(home);
    model::ProfileStore store(home.locations());
    model::Profile work = model::ProfileStore::makeDefault();
    work.isDefault = false;
    work.name = "Work";
    work.folderName = "work-1a2b";
    store.setProfiles({store.profiles().first(), work});
    store.save();
    const QString folder = store.accountsURL() + "/work-1a2b";
    test::writeFile(folder + "/Desktop/Cookies", "session");
    // Links inside the account's folder to the home and into it.
    ASSERT_TRUE(QFile::link(user.path, folder + "/Desktop/home"));
    ASSERT_TRUE(QFile::link(user.path + "/.ssh", folder + "/Code"));

    store.remove(work, true);
    EXPECT_TRUE(user.intact());
    EXPECT_FALSE(QFileInfo::exists(folder));
    // The folder went to the Trash whole, links still links.
    const QString trashed = home.file("share/Trash/files/work-1a2b");
    EXPECT_TRUE(QFileInfo(trashed + "/Desktop/home").isSymLink());
    EXPECT_EQ(test::readFile(trashed + "/Desktop/Cookies"), "session");
}
