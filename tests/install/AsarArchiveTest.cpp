#include "install/AsarArchive.h"
#include "install/AsarFixture.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <QtEndian>

using varrow::install::AsarArchive;
using varrow::test::archiveWithIndex;
using varrow::test::TempHome;
using varrow::test::writeFile;

TEST(AsarArchive, ReadsFilesAndPackageFields) {
    TempHome home;
    const QByteArray package = R"({"name":"claude-desktop","productName":"Claude","version":"0.14.2"})";
    const QString path = home.file("app.asar");
    writeFile(path,
              AsarArchive::build(
                  {{"package.json", package}, {"dist/main.js", "console.log(1)"}, {"dist/deep/x.txt", "x"}}));
    const auto archive = AsarArchive::open(path);
    ASSERT_TRUE(archive);
    EXPECT_EQ(archive->read("package.json"), package);
    EXPECT_EQ(archive->read("dist/main.js"), QByteArray("console.log(1)"));
    EXPECT_EQ(archive->read("dist/deep/x.txt"), QByteArray("x"));
    EXPECT_FALSE(archive->read("dist"));
    EXPECT_FALSE(archive->read("missing.json"));
    EXPECT_FALSE(archive->read("package.json", 10));

    const auto info = AsarArchive::readPackage(path);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->version, "0.14.2");
    EXPECT_EQ(info->productName, "Claude");
}

TEST(AsarArchive, MalformedArchivesAreRejectedNotTrusted) {
    TempHome home;
    const QByteArray good = AsarArchive::build({{"package.json", R"({"version":"1"})"}});
    auto variant = [&](qsizetype at, quint32 value) {
        QByteArray bytes = good;
        qToLittleEndian(value, bytes.data() + at);
        return bytes;
    };
    const QList<QByteArray> bad{
        QByteArray(),
        good.left(12),
        variant(0, 8),             // not the size pickle
        variant(4, 0xFFFFFFF0u),   // header larger than anything real
        variant(12, 0x7FFFFFFFu),  // JSON longer than the header
        variant(8, 2),             // payload shorter than the string
        QByteArray(good).replace("files", "filez"),
    };
    for (const QByteArray& bytes : bad) {
        EXPECT_FALSE(AsarArchive::parseHeader(bytes));
        writeFile(home.file("bad.asar"), bytes);
        EXPECT_FALSE(AsarArchive::readPackage(home.file("bad.asar")));
    }
    EXPECT_FALSE(AsarArchive::readPackage(home.file("none.asar")));
}

TEST(AsarArchive, EntriesPointingOutsideTheFileAreNotRead) {
    TempHome home;
    const QByteArray data = R"({"version":"1"})";
    const QList<QByteArray> indexes{
        R"({"files":{"package.json":{"size":15,"offset":"99999"}}})",
        R"({"files":{"package.json":{"size":15,"offset":"-5"}}})",
        R"({"files":{"package.json":{"size":1e300,"offset":"0"}}})",
        R"({"files":{"package.json":{"size":15,"offset":"0","unpacked":true}}})",
        R"({"files":{"package.json":{"size":"15","offset":"0"}}})",
    };
    writeFile(home.file("ok.asar"),
              archiveWithIndex(R"({"files":{"package.json":{"size":15,"offset":"0"}}})", data));
    ASSERT_TRUE(AsarArchive::open(home.file("ok.asar")));
    EXPECT_EQ(AsarArchive::open(home.file("ok.asar"))->read("package.json"), data);
    for (const QByteArray& index : indexes) {
        writeFile(home.file("edited.asar"), archiveWithIndex(index, data));
        const auto archive = AsarArchive::open(home.file("edited.asar"));
        ASSERT_TRUE(archive) << index.toStdString();
        EXPECT_FALSE(archive->read("package.json")) << index.toStdString();
    }
}
