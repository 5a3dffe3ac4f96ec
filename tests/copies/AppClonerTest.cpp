#include "copies/AppCloner.h"
#include "copies/TestIcons.h"
#include "platform/fake/FakePlatform.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <plist/plist.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

using namespace varrow;
using copies::AppCloner;
using test::copiesAccount;

TEST(AppClonerPaths, NamesStayOneComponentInsideTheAppsFolder) {
    EXPECT_EQ(AppCloner::copyPath(copiesAccount("Work"), "/v/Apps"), "/v/Apps/Claude Work.app");
    EXPECT_EQ(AppCloner::copyPath(copiesAccount("A/B: C"), "/v/Apps"), "/v/Apps/Claude A-B- C.app");
    EXPECT_EQ(AppCloner::metaPath("/v/Apps/Claude A-B- C.app"), "/v/Apps/.Claude A-B- C.app.json");
    EXPECT_EQ(AppCloner::customIconPath("/v/Apps/Claude Work.app"), "/v/Apps/.Claude Work.app.icon.png");
    for (const QString name : {".", "..", "-rf", "../../etc", "--reflink=never"})
        EXPECT_EQ(QFileInfo(AppCloner::copyPath(copiesAccount(name), "/v/Apps")).path(), "/v/Apps")
            << name.toStdString();
    EXPECT_EQ(AppCloner::updatePolicyDir("/v/Accounts/Work/Desktop"), "/v/Accounts/Work/Desktop-3p");
    EXPECT_EQ(AppCloner::updatePolicyDir("/v/Accounts/Work/Desktop/"), "/v/Accounts/Work/Desktop-3p");
    EXPECT_EQ(AppCloner::cloneErrorMessage("copy failed"),
              "Couldn't prepare this account's copy of Claude (copy failed).");
}

TEST(AppClonerMeta, CompactJsonRoundTripAndStrictReading) {
    test::TempHome home;
    const QString copy = home.file("Claude Work.app");
    const AppCloner::Meta meta{"/Applications/Claude.app", "1.2.3", "v2|teal|W"};
    AppCloner::writeMeta(meta, copy);
    const QByteArray bytes = test::readFile(home.file(".Claude Work.app.json"));
    EXPECT_FALSE(bytes.contains(' ') && bytes.contains('\n'));
    EXPECT_EQ(QJsonDocument::fromJson(bytes).object().keys(),
              (QStringList{"iconSignature", "sourcePath", "sourceVersion"}));
    EXPECT_EQ(AppCloner::readMeta(copy), meta);

    test::writeFile(home.file(".Claude Work.app.json"),
                    R"({"sourceVersion":"1","sourcePath":"/a","iconSignature":""})");
    EXPECT_EQ(AppCloner::readMeta(copy), (AppCloner::Meta{"/a", "1", ""}));
    for (const char* broken : {"{", R"({"sourcePath":"/a","sourceVersion":"1"})",
                               R"({"sourcePath":"/a","sourceVersion":1,"iconSignature":""})"}) {
        test::writeFile(home.file(".Claude Work.app.json"), broken);
        EXPECT_FALSE(AppCloner::readMeta(copy)) << broken;
    }
    QFile::remove(home.file(".Claude Work.app.json"));
    EXPECT_FALSE(AppCloner::readMeta(copy));
}

TEST(AppClonerVersion, ReadsXmlAndBinaryPlistsElseQuestionMark) {
    platform::fake::FakePlatform platform;
    test::TempHome home;
    const QString app = home.file("X.app");
    const QString plist = app + "/Contents/Info.plist";
    EXPECT_EQ(AppCloner::version(platform.installations, app), "?");

    plist_t dict = plist_new_dict();
    plist_dict_set_item(dict, "CFBundleShortVersionString", plist_new_string("2.5.1"));
    char* data = nullptr;
    uint32_t length = 0;
    plist_to_bin(dict, &data, &length);
    test::writeFile(plist, QByteArray(data, int(length)));
    free(data);
    EXPECT_EQ(AppCloner::version(platform.installations, app), "2.5.1");

    plist_to_xml(dict, &data, &length);
    test::writeFile(plist, QByteArray(data, int(length)));
    free(data);
    EXPECT_EQ(AppCloner::version(platform.installations, app), "2.5.1");

    for (plist_t notAVersion : {plist_new_string(""), plist_new_uint(3)}) {
        plist_dict_set_item(dict, "CFBundleShortVersionString", notAVersion);
        plist_to_xml(dict, &data, &length);
        test::writeFile(plist, QByteArray(data, int(length)));
        free(data);
        EXPECT_EQ(AppCloner::version(platform.installations, app), "?");
    }
    plist_free(dict);

    test::writeFile(plist, "not a property list");
    EXPECT_EQ(AppCloner::version(platform.installations, app), "?");
}

TEST(AppClonerPolicy, ExactFilesWrittenOnceAndFailuresLogged) {
    test::TempHome home;
    const QString data = home.file("Accounts/Work/Desktop");
    AppCloner::blockSelfUpdates(data);
    const QDir library(data + "-3p/configLibrary");
    const QStringList names = library.entryList(QDir::Files, QDir::Name);
    ASSERT_EQ(names.size(), 2);
    const QString id = names.first() == "_meta.json" ? names.last().chopped(5) : names.first().chopped(5);
    EXPECT_EQ(id.size(), 36);
    EXPECT_EQ(id, id.toLower());
    EXPECT_EQ(test::readFile(library.filePath(id + ".json")), "{\n  \"disableAutoUpdates\": true\n}\n");
    EXPECT_EQ(test::readFile(library.filePath(id + ".json")).size(), 33);
    EXPECT_EQ(test::readFile(library.filePath("_meta.json")),
              "{\"appliedId\":\"" + id.toLatin1() + "\",\"entries\":[{\"id\":\"" + id.toLatin1() +
                  "\",\"name\":\"Default\"}]}\n");
    EXPECT_EQ(
        test::readFile(data + "-3p/.varrow"),
        "{\"writtenBy\":\"Varrow\",\"why\":\"stops this account's copy of Claude updating itself; Varrow "
        "refreshes it instead\"}\n");

    // Never rewritten, even after its files were deleted.
    QFile::remove(library.filePath("_meta.json"));
    AppCloner::blockSelfUpdates(data);
    EXPECT_FALSE(QFile::exists(library.filePath("_meta.json")));

    // A file where the folder should go: one log line, nothing else.
    test::LogCapture log;
    test::writeFile(home.file("Accounts/Blocked"), "a file, not a folder");
    AppCloner::blockSelfUpdates(home.file("Accounts/Blocked/Desktop"));
    ASSERT_EQ(log.lines.size(), 1);
    EXPECT_TRUE(log.lines.first().startsWith("Varrow: could not write update policy: "));
}
