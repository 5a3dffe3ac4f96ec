#include "install/AsarArchive.h"
#include "install/AsarFixture.h"
#include "install/AsarRewrite.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

using varrow::install::AsarArchive;
using varrow::install::AsarRewrite;
using varrow::test::archiveWithIndex;
using varrow::test::readFile;
using varrow::test::TempHome;
using varrow::test::writeFile;

namespace {

constexpr auto kName = "varrow-claude-work-0123abcd.desktop";

QString sha256(const QByteArray& bytes) {
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

QJsonObject entryOf(const QString& archive, const QString& innerPath) {
    return AsarArchive::entry(AsarArchive::open(archive)->header().index, innerPath).value_or(QJsonObject());
}

QJsonObject withoutPackage(QJsonObject index) {
    QJsonObject files = index.value("files").toObject();
    files.remove("package.json");
    index.insert("files", files);
    return index;
}

}  // namespace

TEST(AsarRewrite, ArchiveFromElectronsOwnToolGetsTheNameAndKeepsEverythingElse) {
    TempHome home;
    const QString source = home.file("app.asar");
    const QString rewritten = home.file("out/app.asar");
    QDir().mkpath(home.file("out"));
    QFile::copy(QStringLiteral(VARROW_TEST_DATA "/packed.asar"), source);
    const auto before = AsarArchive::open(source);
    ASSERT_TRUE(before);

    ASSERT_EQ(AsarRewrite::withDesktopName(source, rewritten, kName).toStdString(), "");
    const auto after = AsarArchive::open(rewritten);
    ASSERT_TRUE(after);
    // Only the name is new: the tool's own layout of package.json stays.
    const QByteArray package = *before->read("package.json");
    EXPECT_EQ(
        *after->read("package.json"),
        QByteArray(package).replace("{\n  ", "{\n  \"desktopName\": \"" + QByteArray(kName) + "\",\n  "));
    // A file stored after package.json, one before it, and the unpacked one are as they were.
    EXPECT_EQ(after->read("welcome.txt"), before->read("welcome.txt"));
    EXPECT_EQ(after->read("dist/main.js"), before->read("dist/main.js"));
    EXPECT_EQ(withoutPackage(after->header().index), withoutPackage(before->header().index));
    EXPECT_TRUE(entryOf(rewritten, "native/addon.node").value("unpacked").toBool());

    const QJsonObject integrity = entryOf(rewritten, "package.json").value("integrity").toObject();
    EXPECT_EQ(integrity.value("algorithm"), "SHA256");
    EXPECT_EQ(integrity.value("blockSize"), 4194304);
    EXPECT_EQ(integrity.value("hash").toString(), sha256(*after->read("package.json")));
    EXPECT_EQ(integrity.value("blocks").toArray(), QJsonArray{sha256(*after->read("package.json"))});
    // The data keeps its place within a 4 KB block, so a clone of the source can share it.
    EXPECT_EQ((after->header().dataOffset - before->header().dataOffset) % 4096, 0);

    // Again, in place, over the rewritten one: the name changes and the version reads as before.
    ASSERT_EQ(AsarRewrite::withDesktopName(rewritten, rewritten, "other.desktop").toStdString(), "");
    EXPECT_EQ(QJsonDocument::fromJson(*AsarArchive::open(rewritten)->read("package.json"))["desktopName"],
              "other.desktop");
    EXPECT_EQ(AsarArchive::readPackage(rewritten)->version, "0.9.1");
    EXPECT_EQ(QDir(home.file("out")).entryList(QDir::Files | QDir::Hidden), QStringList{"app.asar"});
}

TEST(AsarRewrite, RoomyHeaderShrinksAndIntegrityUsesTheRecordsBlockSize) {
    TempHome home;
    const QByteArray package = R"({"productName":"Claude","desktopName":"com.anthropic.Claude.desktop"})";
    const QByteArray tail = "after package.json";
    // Stored with room to spare (trailing spaces) and 16-byte integrity blocks.
    const QByteArray index =
        R"({"files":{"package.json":{"size":69,"offset":"0","integrity":{"algorithm":"SHA256",)"
        R"("hash":"x","blockSize":16,"blocks":["x"]}},"tail.txt":{"size":18,"offset":"69"}}})" +
        QByteArray(9000, ' ');
    const QString source = home.file("app.asar");
    writeFile(source, archiveWithIndex(index, package + tail));

    const qint64 dataOffset = AsarArchive::open(source)->header().dataOffset;
    ASSERT_EQ(AsarRewrite::withDesktopName(source, source, kName).toStdString(), "");
    const auto after = AsarArchive::open(source);
    ASSERT_TRUE(after);
    EXPECT_LT(after->header().dataOffset, 4096 + 16);
    EXPECT_EQ((dataOffset - after->header().dataOffset) % 4096, 0);
    EXPECT_EQ(after->read("tail.txt"), tail);
    const QByteArray edited = *after->read("package.json");
    EXPECT_EQ(edited, QByteArray(package).replace("com.anthropic.Claude.desktop", kName));

    const QJsonObject integrity = entryOf(source, "package.json").value("integrity").toObject();
    QJsonArray blocks;
    for (qsizetype at = 0; at < edited.size(); at += 16) blocks.append(sha256(edited.mid(at, 16)));
    EXPECT_EQ(blocks.size(), (edited.size() + 15) / 16);
    EXPECT_EQ(integrity.value("blocks").toArray(), blocks);
    EXPECT_EQ(integrity.value("hash").toString(), sha256(edited));
}

TEST(AsarRewrite, DamagedArchivesAreRefusedWithTheReasonAndNothingWritten) {
    TempHome home;
    const QByteArray package = R"({"productName":"Claude"})";
    auto archive = [&](const QByteArray& entry, const QByteArray& more = {}) {
        return archiveWithIndex("{\"files\":{\"package.json\":" + entry + more + "}}", package);
    };
    const QByteArray stored = R"({"size":24,"offset":"0"})";
    const QList<std::pair<QByteArray, QString>> cases{
        {"not an archive at all", "not an Electron archive"},
        {archiveWithIndex(R"({"files":{"main.js":{"size":24,"offset":"0"}}})", package), "no package.json"},
        {archive(R"({"size":24,"unpacked":true})"), "unpacked"},
        {archive(R"({"files":{}})"), "not a file"},
        {archive(stored, R"(,"big.bin":{"size":10,"offset":"20"})"), "“big.bin” lies outside"},
        {archive(stored, R"(,"dist":{"files":{"a.js":{"size":1,"offset":"-1"}}})"), "“dist/a.js” is damaged"},
        {archive(R"({"size":24,"offset":"0","integrity":{"algorithm":"MD5","blockSize":4}})"),
         "unknown kind"},
        {archiveWithIndex(R"({"files":{"package.json":{"size":3,"offset":"0"}}})", "[1]"),
         "not a JSON object"},
    };
    for (const auto& [bytes, reason] : cases) {
        writeFile(home.file("in/app.asar"), bytes);
        const QString why =
            AsarRewrite::withDesktopName(home.file("in/app.asar"), home.file("out.asar"), kName);
        EXPECT_TRUE(why.contains(reason)) << why.toStdString() << " / " << reason.toStdString();
        EXPECT_FALSE(QFile::exists(home.file("out.asar")));
        EXPECT_EQ(readFile(home.file("in/app.asar")), bytes);
    }
    EXPECT_TRUE(AsarRewrite::withDesktopName(home.file("none.asar"), home.file("out.asar"), kName)
                    .contains("cannot be read"));
    EXPECT_EQ(QDir(home.path()).entryList({".out.asar*"}, QDir::Files | QDir::Hidden), QStringList());
}
