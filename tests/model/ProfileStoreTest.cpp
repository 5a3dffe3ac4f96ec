#include "model/ProfileStore.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QSignalSpy>
#include <csignal>

using namespace varrow::model;
using varrow::test::account;
using varrow::test::LogCapture;
using varrow::test::readFile;
using varrow::test::TempHome;
using varrow::test::writeFile;

namespace {

void add(ProfileStore& store, const Profile& p) {
    auto list = store.profiles();
    list.append(p);
    store.setProfiles(list);
    store.save();
    store.flush();
}

// The list as saved, once every save asked for has landed.
QByteArray savedList(ProfileStore& store) {
    store.flush();
    return readFile(store.listFile());
}

QStringList trashed(const TempHome& home) {
    QStringList names;
    QDirIterator it(home.file("share/Trash/files"), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    while (it.hasNext()) names.append(QFileInfo(it.next()).fileName());
    return names;
}

}  // namespace

TEST(ProfileStoreLoad, FirstStartWritesTheDefaultAccount) {
    TempHome home;
    ProfileStore store(home.locations());
    ASSERT_EQ(store.profiles().size(), 1);
    const Profile& p = store.profiles().first();
    EXPECT_EQ(p.name, "My Claude");
    EXPECT_TRUE(p.isDefault);
    EXPECT_EQ(p.color, ProfileColor::Clay);
    EXPECT_TRUE(p.folderName.isEmpty());
    EXPECT_FALSE(p.lastOpenedAt);

    const QJsonDocument doc = QJsonDocument::fromJson(savedList(store));
    ASSERT_TRUE(doc.isArray());
    EXPECT_EQ(doc.array().size(), 1);
    EXPECT_FALSE(doc.array().first().toObject().contains("lastOpenedAt"));
    EXPECT_EQ(store.accountsURL(), home.file("Varrow/Accounts"));
    EXPECT_EQ(store.appsURL(), home.file("Varrow/Apps"));
}

TEST(ProfileStoreLoad, EmptyArrayOrEmptyFileBehavesLikeMissing) {
    for (const QByteArray& content : {QByteArray("[]"), QByteArray()}) {
        TempHome home;
        writeFile(home.file("Varrow/profiles.json"), content);
        ProfileStore store(home.locations());
        ASSERT_EQ(store.profiles().size(), 1);
        EXPECT_TRUE(store.profiles().first().isDefault);
        EXPECT_EQ(QJsonDocument::fromJson(savedList(store)).array().size(), 1);
    }
}

TEST(ProfileStoreLoad, SavedListReadsBackInOrderWithSortedPrettyKeys) {
    TempHome home;
    {
        ProfileStore store(home.locations());
        add(store, account("Work"));
        add(store, account("Home"));
        store.markOpened(store.profiles()[1]);
    }
    const QByteArray bytes = readFile(home.file("Varrow/profiles.json"));
    EXPECT_TRUE(bytes.contains("\n"));
    // Keys in sorted order within the record that has them all.
    const QString opened = QString::fromUtf8(bytes).split(u'}').filter("lastOpenedAt").value(0);
    int last = -1;
    for (const char* key :
         {"color", "createdAt", "folderName", "id", "isDefault", "lastOpenedAt", "name", "note"}) {
        const int at = int(opened.indexOf(QStringLiteral("\"%1\"").arg(key)));
        EXPECT_GT(at, last) << key;
        last = at;
    }
    ProfileStore again(home.locations());
    ASSERT_EQ(again.profiles().size(), 3);
    EXPECT_EQ(again.profiles()[1].name, "Work");
    EXPECT_EQ(again.profiles()[2].name, "Home");
    EXPECT_FALSE(again.profiles()[2].lastOpenedAt);
    EXPECT_TRUE(again.profiles()[1].lastOpenedAt);
}

TEST(ProfileStoreLoad, UndecodableListIsSetAsideNotLost) {
    const QList<QByteArray> broken{
        R"([{"id":"3F2504E0-4F89-11D3-9A0C-0305E82C3301","name":"Wo)",
        R"({"not":"a list"})",
        R"([{"id":"3F2504E0-4F89-11D3-9A0C-0305E82C3301","name":"Work","note":"","color":"mauve",
            "isDefault":false,"folderName":"w-1","createdAt":"2025-03-14T09:26:53Z"}])",
        R"([{"id":"3F2504E0-4F89-11D3-9A0C-0305E82C3301","name":"Work","note":"","color":"sky",
            "isDefault":false,"folderName":"w-1","createdAt":"March"}])",
        "\xff\xfe\x00garbage",
    };
    for (const QByteArray& content : broken) {
        TempHome home;
        LogCapture log;
        writeFile(home.file("Varrow/profiles.json"), content);
        ProfileStore store(home.locations());
        ASSERT_EQ(store.profiles().size(), 1);
        EXPECT_TRUE(store.profiles().first().isDefault);

        const QStringList aside = QDir(home.file("Varrow")).entryList({"profiles.json.unreadable-*"});
        ASSERT_EQ(aside.size(), 1) << content.toStdString();
        EXPECT_EQ(readFile(home.file("Varrow/" + aside.first())), content);
        ASSERT_EQ(log.lines.size(), 1);
        EXPECT_TRUE(log.lines.first().startsWith("Varrow: "));
        EXPECT_TRUE(log.lines.first().contains(aside.first()));

        // The next save writes a fresh list and the set-aside copy stays.
        add(store, account("Work"));
        EXPECT_EQ(readFile(home.file("Varrow/" + aside.first())), content);
    }
}

TEST(ProfileStoreLoad, ListFileThatIsAFolderIsLeftAlone) {
    TempHome home;
    LogCapture log;
    QDir().mkpath(home.file("Varrow/profiles.json/inside"));
    ProfileStore store(home.locations());
    store.flush();
    EXPECT_EQ(store.profiles().size(), 1);
    EXPECT_TRUE(QFileInfo(home.file("Varrow/profiles.json/inside")).isDir());
    ASSERT_FALSE(log.lines.isEmpty());
    EXPECT_TRUE(log.lines.last().startsWith("Varrow: could not save profiles: "));
}

TEST(ProfileStoreSave, UnwritableFolderKeepsListAndLeavesNoPartialFile) {
    if (geteuid() == 0) GTEST_SKIP() << "root writes through read-only folders";
    TempHome home;
    ProfileStore store(home.locations());
    const QByteArray before = savedList(store);
    chmod(home.file("Varrow").toUtf8().constData(), 0555);
    LogCapture log;
    add(store, account("Work"));
    chmod(home.file("Varrow").toUtf8().constData(), 0755);
    EXPECT_EQ(store.profiles().size(), 2);
    EXPECT_EQ(savedList(store), before);
    EXPECT_EQ(QDir(home.file("Varrow")).entryList(QDir::Files | QDir::Hidden).size(), 1);
    ASSERT_EQ(log.lines.size(), 1);
    EXPECT_TRUE(log.lines.first().startsWith("Varrow: could not save profiles: "));
}

TEST(ProfileStoreSave, FullDiskKeepsTheOldFileAndLeavesNoPartialFile) {
    TempHome home;
    ProfileStore store(home.locations());
    const QByteArray before = savedList(store);
    // A file-size limit makes every write past 64 bytes fail, as on a full disk.
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 64;
    setrlimit(RLIMIT_FSIZE, &small);
    LogCapture log;
    add(store, account("Work"));
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(store.profiles().size(), 2);
    EXPECT_EQ(savedList(store), before);
    EXPECT_EQ(QDir(home.file("Varrow")).entryList(QDir::Files | QDir::Hidden).size(), 1);
    ASSERT_EQ(log.lines.size(), 1);
    EXPECT_TRUE(log.lines.first().startsWith("Varrow: could not save profiles: "));
    // Once space is back the whole list is written.
    store.save();
    store.flush();
    EXPECT_EQ(ProfileStore(home.locations()).profiles().size(), 2);
}

TEST(ProfileStoreSave, RootThatCannotBeCreatedIsLogged) {
    TempHome home;
    writeFile(home.file("blocker"), "file");
    LogCapture log;
    ProfileStore store(StoreLocations::forRoot(home.file("blocker/Varrow")));
    EXPECT_EQ(store.profiles().size(), 1);
    ASSERT_EQ(log.lines.size(), 1);
    EXPECT_TRUE(log.lines.first().startsWith("Varrow: could not save profiles: "));
}

TEST(ProfileStoreChanges, EveryChangeIsPublishedWithTheNewList) {
    TempHome home;
    ProfileStore store(home.locations());
    QList<QList<Profile>> seen;
    QObject::connect(&store, &ProfileStore::profilesChanged,
                     [&](const QList<Profile>& list) { seen.append(list); });
    const Profile work = account("Work");
    add(store, work);
    Profile renamed = work;
    renamed.name = "Job";
    store.update(renamed);
    store.markOpened(renamed);
    store.remove(renamed, false);
    ASSERT_EQ(seen.size(), 4);
    EXPECT_EQ(seen[0].size(), 2);
    EXPECT_EQ(seen[1][1].name, "Job");
    EXPECT_TRUE(seen[2][1].lastOpenedAt);
    EXPECT_EQ(seen[3].size(), 1);
    EXPECT_EQ(seen.last(), store.profiles());
}

TEST(ProfileStoreChanges, UnknownIdsAndTheDefaultAccountChangeNothing) {
    TempHome home;
    ProfileStore store(home.locations());
    QSignalSpy spy(&store, &ProfileStore::profilesChanged);
    const QByteArray before = savedList(store);
    store.update(account("Ghost"));
    store.markOpened(account("Ghost"));
    store.remove(store.profiles().first(), true);
    EXPECT_EQ(spy.count(), 0);
    EXPECT_EQ(store.profiles().size(), 1);
    EXPECT_EQ(savedList(store), before);
}

TEST(ProfileStoreRemove, MovesOnlyTheAccountsOwnFolderToTheTrash) {
    TempHome home;
    ProfileStore store(home.locations());
    const Profile work = account("Work", "work-1a2b");
    add(store, work);
    writeFile(store.accountsURL() + "/work-1a2b/Desktop/state", "signed in");
    writeFile(store.accountsURL() + "/other-9999/Desktop/state", "keep");
    store.remove(work, true);
    EXPECT_FALSE(QFileInfo::exists(store.accountsURL() + "/work-1a2b"));
    EXPECT_TRUE(QFileInfo::exists(store.accountsURL() + "/other-9999/Desktop/state"));
    EXPECT_EQ(trashed(home), QStringList{"work-1a2b"});
}

TEST(ProfileStoreRemove, HandEditedFolderNamesNeverTrashAnythingElse) {
    TempHome home;
    ProfileStore store(home.locations());
    writeFile(store.accountsURL() + "/keep/data", "keep");
    writeFile(home.file("Varrow/Apps/keep.txt"), "keep");
    for (const QString& folder : {QString(), QString("."), QString(".."), QString("../Apps"), QString("/")}) {
        Profile p = account("Edited", "placeholder");
        p.folderName = folder;
        add(store, p);
        store.remove(p, true);
        EXPECT_TRUE(QFileInfo::exists(store.accountsURL() + "/keep/data")) << folder.toStdString();
        EXPECT_TRUE(QFileInfo::exists(home.file("Varrow/Apps/keep.txt")));
        EXPECT_TRUE(trashed(home).isEmpty());
        EXPECT_EQ(store.profiles().size(), 1);
    }
}

TEST(ProfileStoreRemove, SymlinkedFolderIsTrashedAsALinkNotItsTarget) {
    TempHome home;
    ProfileStore store(home.locations());
    writeFile(home.file("precious/file"), "mine");
    QDir().mkpath(store.accountsURL());
    ASSERT_TRUE(QFile::link(home.file("precious"), store.accountsURL() + "/link-1234"));
    const Profile p = account("Linked", "link-1234");
    add(store, p);
    store.remove(p, true);
    EXPECT_EQ(readFile(home.file("precious/file")), "mine");
}

TEST(ProfileStoreNames, UniqueNameCountsUpCaseInsensitively) {
    TempHome home;
    ProfileStore store(home.locations());
    store.setProfiles({});
    EXPECT_EQ(store.uniqueName("Work"), "Work");
    store.setProfiles({account("Work")});
    EXPECT_EQ(store.uniqueName("WORK"), "WORK 2");
    const Profile work2 = account("Work 2");
    store.setProfiles({store.profiles().first(), work2});
    EXPECT_EQ(store.uniqueName("WORK"), "WORK 3");
    EXPECT_EQ(store.uniqueName("work 2"), "work 2 2");
    // Its own entry is excluded; renaming Work 2 to Work gives Work 2 again.
    EXPECT_EQ(store.uniqueName("work 2", work2.id), "work 2");
    EXPECT_EQ(store.uniqueName("Work", work2.id), "Work 2");
    EXPECT_EQ(store.uniqueName("Work 3", work2.id), "Work 3");
    // No trimming or accent folding.
    EXPECT_EQ(store.uniqueName(" Work"), " Work");
    EXPECT_EQ(store.uniqueName(QString::fromUtf8("Wörk")), QString::fromUtf8("Wörk"));
}

TEST(ProfileStoreNames, UpdateMakesTheNameUnique) {
    TempHome home;
    ProfileStore store(home.locations());
    const Profile work = account("Work");
    Profile other = account("Other");
    add(store, work);
    add(store, other);
    other.name = "WORK";
    store.update(other);
    EXPECT_EQ(store.profiles()[2].name, "WORK 2");
    store.flush();
    EXPECT_EQ(ProfileStore(home.locations()).profiles()[2].name, "WORK 2");
}

TEST(ProfileStoreNames, FolderNamesAreSlugsWithARandomSuffix) {
    const QRegularExpression suffix("-[0-9a-f]{4}$");
    auto check = [&](const QString& name, const QString& slug) {
        const QString folder = ProfileStore::folderName(name);
        EXPECT_TRUE(suffix.match(folder).hasMatch()) << folder.toStdString();
        EXPECT_EQ(folder.left(folder.size() - 5), slug) << name.toStdString();
        EXPECT_TRUE(Profile::isPlainFolderName(folder));
    };
    check("Work Stuff!", "work-stuff");
    check("!!!", "account");
    check("", "account");
    check(QString(40, u'a'), QString(32, u'a'));
    check(QString::fromUtf8("Åsa"), QString::fromUtf8("åsa"));
    check("../../etc", "etc");
    check("a/b:c", "a-b-c");
    check(QString(31, u'x') + " yz", QString(31, u'x') + "-");
    EXPECT_NE(ProfileStore::folderName("Work"), ProfileStore::folderName("Work Work").left(9));
}

TEST(ProfileStoreSave, WrittenListIsTheStandardJsonOfItsRecords) {
    QList<Profile> list{ProfileStore::makeDefault(), account("Wörk \"quoted\" \\ tab\t nl\n \x01 ☃")};
    list[1].note = "a@b.c";
    list[1].lastOpenedAt = QDateTime::currentDateTimeUtc();
    list[1].openAtLogin = true;
    QJsonArray array;
    for (const Profile& p : list) array.append(p.toJson());
    EXPECT_EQ(ProfileStore::encodeList(list), QJsonDocument(array).toJson(QJsonDocument::Indented));
    EXPECT_EQ(ProfileStore::encodeList({}), QJsonDocument(QJsonArray()).toJson(QJsonDocument::Indented));
}

TEST(ProfileStoreSave, ListsOfOlderAndNewerVersionsKeepTheirMeaning) {
    TempHome home;
    const Profile work = account("Work");
    QJsonObject written = work.toJson();
    ASSERT_FALSE(written.contains("openAtLogin"));  // as an older version wrote it
    written.insert("futureSetting", QJsonObject{{"a", 1}});
    writeFile(home.file("Varrow/profiles.json"), QJsonDocument(QJsonArray{written}).toJson());

    ProfileStore store(home.locations());
    ASSERT_EQ(store.profiles().size(), 1);
    Profile loaded = store.profiles().first();
    EXPECT_FALSE(loaded.openAtLogin);
    loaded.openAtLogin = true;
    store.update(loaded);

    const QJsonObject saved = QJsonDocument::fromJson(savedList(store)).array().first().toObject();
    EXPECT_EQ(saved.value("futureSetting").toObject().value("a").toInt(), 1);
    EXPECT_TRUE(saved.value("openAtLogin").toBool());
    EXPECT_EQ(ProfileStore(home.locations()).profiles().first(), store.profiles().first());
}

TEST(ProfileStoreNames, FindByNameTakesTheFirstExactMatch) {
    Profile a, b;
    a.name = "Work";
    a.note = "first";
    b.name = "Work";
    EXPECT_EQ(ProfileStore::findByName({a, b}, "Work")->note, "first");
    EXPECT_FALSE(ProfileStore::findByName({a, b}, "work"));
    EXPECT_FALSE(ProfileStore::findByName({a, b}, " Work"));
}
