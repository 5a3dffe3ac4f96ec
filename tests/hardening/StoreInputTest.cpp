// The account list and account names as users, editors and other programs may leave them.
#include "model/ProfileStore.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

using namespace varrow::model;
using varrow::test::account;
using varrow::test::LogCapture;
using varrow::test::readFile;
using varrow::test::TempHome;
using varrow::test::writeFile;

namespace {

QStringList setAside(const TempHome& home) {
    return QDir(home.file("Varrow")).entryList({"profiles.json.unreadable-*"}, QDir::Files);
}

const QString kLoneSurrogate = QString(QChar(0xD800)) + "x";

}  // namespace

TEST(BadNames, EveryNameGivesAUsableFolderAndInitials) {
    TempHome home;
    const QStringList names{
        "Work\tHome\n\x01\x1b[31m",  // control characters
        "a/b/../../etc",             // separators and parent steps
        "Claude: Work",
        "..",
        "-rf --no-preserve-root",
        QString(10000, u'x'),
        "a" + QString(400, QChar(0x0301)),  // one letter with 400 combining marks
        QString::fromUtf8("\u05e9\u05dc\u05d5\u05dd \u202e\u05e2\u05d5\u05dc\u05dd"),  // right-to-left
        kLoneSurrogate,
        QString(QChar(0xDC00)),
        ":resource",
    };
    for (const QString& name : names) {
        const QString folder = ProfileStore::folderName(name);
        SCOPED_TRACE(folder.left(60).toStdString());
        EXPECT_TRUE(Profile::isPlainFolderName(folder));
        EXPECT_FALSE(folder.startsWith(u'-') || folder.startsWith(u'.'));
        EXPECT_LE(folder.toUtf8().size(), 255);
        // The folder can really be made, right inside the accounts folder.
        Profile p = account(name);
        p.folderName = folder;
        const QString path = *p.dataFolder(home.file("Accounts"));
        EXPECT_TRUE(QDir().mkpath(path));
        EXPECT_EQ(QFileInfo(path).absolutePath(), home.file("Accounts"));
        EXPECT_FALSE(p.initials().isEmpty());
    }
}

TEST(BadNames, StrangeNamesSurviveSaveAndReload) {
    TempHome home;
    QList<Profile> list{account("My Claude"), account("Work\t\x01"), account(QString(10000, u'w')),
                        account(QString::fromUtf8("\u05e9\u05dc\u05d5\u05dd")), account("a/b:c/..")};
    {
        ProfileStore store(home.locations());
        store.setProfiles(list);
        ASSERT_TRUE(store.save());
    }
    EXPECT_TRUE(ProfileStore(home.locations()).profiles() == list);
}

TEST(BadNames, LoneSurrogateInANameNeverMakesTheListUnreadable) {
    TempHome home;
    {
        ProfileStore store(home.locations());
        store.setProfiles({ProfileStore::makeDefault(), account(kLoneSurrogate)});
        ASSERT_TRUE(store.save());
    }
    const ProfileStore again(home.locations());
    EXPECT_TRUE(setAside(home).isEmpty());
    ASSERT_EQ(again.profiles().size(), 2);
    // UTF-8 has no form for half a character: it is stored as a question mark.
    EXPECT_EQ(again.profiles()[1].name, "?x");
}

TEST(BadListFile, FolderNameStartingWithAColonStaysInTheAccountsFolder) {
    Profile p = account("Work");
    p.folderName = ":work-1a2b";
    EXPECT_EQ(p.dataFolder("/home/ann/Varrow/Accounts"), "/home/ann/Varrow/Accounts/:work-1a2b");
}

TEST(BadListFile, HugeFileIsSetAsideWithoutReadingItAll) {
    TempHome home;
    LogCapture log;
    QDir().mkpath(home.file("Varrow"));
    {
        QFile huge(home.file("Varrow/profiles.json"));
        ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
        huge.write("[");
        ASSERT_TRUE(huge.resize(100 * 1024 * 1024));  // sparse: 100 MB of NUL after the bracket
    }
    ProfileStore store(home.locations());
    ASSERT_EQ(store.profiles().size(), 1);
    EXPECT_TRUE(store.profiles().first().isDefault);
    const QStringList aside = setAside(home);
    ASSERT_EQ(aside.size(), 1);
    EXPECT_EQ(QFileInfo(home.file("Varrow/" + aside.first())).size(), 100 * 1024 * 1024);
    ASSERT_FALSE(log.lines.isEmpty());
    EXPECT_TRUE(log.lines.first().contains("larger than 32 MB"));
}

TEST(BadListFile, TextThatIsNotUtf8IsSetAsideUnchanged) {
    for (const QByteArray& content : {QByteArray("[{\"name\":\"Caf\xe9\"}]"),
                                      QByteArray("\xff\xfe[\x00]\x00", 6), QByteArray("\xc0\xaf")}) {
        TempHome home;
        LogCapture log;
        writeFile(home.file("Varrow/profiles.json"), content);
        ProfileStore store(home.locations());
        EXPECT_TRUE(store.profiles().first().isDefault);
        const QStringList aside = setAside(home);
        ASSERT_EQ(aside.size(), 1);
        EXPECT_EQ(readFile(home.file("Varrow/" + aside.first())), content);
    }
}

TEST(BadListFile, SymbolicLinkIsReadAndWrittenThrough) {
    TempHome home;
    const QList<Profile> list{account("My Claude"), account("Work")};
    writeFile(home.file("dotfiles/profiles.json"), ProfileStore::encodeList(list));
    QDir().mkpath(home.file("Varrow"));
    ASSERT_TRUE(QFile::link(home.file("dotfiles/profiles.json"), home.file("Varrow/profiles.json")));

    ProfileStore store(home.locations());
    EXPECT_TRUE(store.profiles() == list);
    store.markOpened(list[1]);
    store.flush();
    // The link stays a link and the user's file behind it holds the new list.
    EXPECT_TRUE(QFileInfo(home.file("Varrow/profiles.json")).isSymLink());
    const auto written = ProfileStore::decodeList(readFile(home.file("dotfiles/profiles.json")));
    ASSERT_TRUE(written);
    EXPECT_TRUE(written->at(1).lastOpenedAt);
}

TEST(BadListFile, DanglingOrLoopingLinkStartsWithTheDefaultAccount) {
    for (const char* target : {"nowhere/profiles.json", "profiles.json"}) {
        TempHome home;
        LogCapture log;
        QDir().mkpath(home.file("Varrow"));
        ASSERT_TRUE(QFile::link(home.file(QString("Varrow/") + target), home.file("Varrow/profiles.json")));
        ProfileStore store(home.locations());
        ASSERT_EQ(store.profiles().size(), 1) << target;
        EXPECT_TRUE(store.profiles().first().isDefault);
    }
}

TEST(BadHome, MissingHomeIsCreatedAndAFileAsHomeIsOnlyLogged) {
    TempHome home;
    {
        ProfileStore store(StoreLocations::forRoot(home.file("not/yet/there")));
        store.flush();
        EXPECT_TRUE(QFileInfo(home.file("not/yet/there/profiles.json")).isFile());
    }
    writeFile(home.file("a-file"), "x");
    LogCapture log;
    ProfileStore store(StoreLocations::forRoot(home.file("a-file")));
    ASSERT_EQ(store.profiles().size(), 1);
    ASSERT_EQ(log.lines.size(), 1);
    EXPECT_TRUE(log.lines.first().startsWith("Varrow: could not save profiles: "));
    EXPECT_EQ(readFile(home.file("a-file")), "x");
}

TEST(BadHome, RelativeHomeIsTakenAsSetFromTheWorkingFolder) {
    TempHome home;
    // The locations are fixed once per process, so a child process reads the variable.
    const pid_t child = fork();
    if (child == 0) {
        if (chdir(home.path().toUtf8().constData()) != 0) _exit(2);
        qputenv("VARROW_HOME", "rel/Varrow");
        const StoreLocations& where = StoreLocations::standard();
        ProfileStore store;
        store.flush();
        const bool ok = where.root == "rel/Varrow" && where.apps == "rel/Varrow/Apps" &&
                        QFileInfo(home.file("rel/Varrow/profiles.json")).isFile();
        _exit(ok ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}
