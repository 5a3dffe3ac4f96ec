// My Claude's settings file into an account's Desktop folder, on real files: copied before the
// first launch, merged on request, and never written over something already there or through a
// link planted in the account's folder.
#include "copies/DesktopConfig.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

namespace varrow::copies {
namespace {

using namespace varrow::test;

class DesktopConfigTest : public ::testing::Test {
protected:
    QString accounts() const { return home.file("Accounts"); }
    QString target(const model::Profile& p) const {
        return accounts() + "/" + p.folderName + "/Desktop/" + DesktopConfig::kFileName;
    }
    QJsonObject json(const QString& path) const { return QJsonDocument::fromJson(readFile(path)).object(); }

    TempHome home;
    const QString source = home.file("config/Claude/claude_desktop_config.json");
    const QString outside = home.file("outside/secret.json");
};

TEST_F(DesktopConfigTest, aNewAccountGetsAnExactCopyButNothingIsOverwrittenOrFollowed) {
    const QByteArray mine = R"({"mcpServers": {"files": {"command": "npx", "env": {"TOKEN": "t"}}}})";
    writeFile(source, mine);
    const model::Profile work = account("Work", "work");
    EXPECT_EQ(DesktopConfig::seed(source, accounts(), work), QString());
    EXPECT_EQ(readFile(target(work)), mine);
    EXPECT_FALSE(QFileInfo(target(work)).permissions().testAnyFlags(QFile::ReadOther | QFile::ReadGroup));

    // Already there: the account's own file stays as it is.
    writeFile(source, R"({"mcpServers": {}})");
    EXPECT_EQ(DesktopConfig::seed(source, accounts(), work), QString());
    EXPECT_EQ(readFile(target(work)), mine);

    // Invalid, missing: a sentence naming the account, and nothing written.
    const model::Profile side = account("Side", "side");
    writeFile(source, "{not json");
    const QString invalid = DesktopConfig::seed(source, accounts(), side);
    EXPECT_TRUE(invalid.contains("isn't valid JSON") && invalid.contains("“Side”")) << invalid.toStdString();
    QFile::remove(source);
    EXPECT_TRUE(DesktopConfig::seed(source, accounts(), side).contains("doesn't exist"));
    EXPECT_FALSE(QFileInfo::exists(target(side)));

    // A link planted as the file, and the Desktop folder itself a link: never written through.
    writeFile(source, mine);
    QDir().mkpath(QFileInfo(target(side)).path());
    ASSERT_TRUE(QFile::link(outside, target(side)));
    EXPECT_TRUE(DesktopConfig::seed(source, accounts(), side).contains("link"));
    const model::Profile home2 = account("Home", "home");
    QDir().mkpath(accounts() + "/home");
    QDir().mkpath(home.file("outside"));
    ASSERT_TRUE(QFile::link(home.file("outside"), accounts() + "/home/Desktop"));
    EXPECT_TRUE(DesktopConfig::seed(source, accounts(), home2).contains("link"));
    EXPECT_FALSE(QFileInfo::exists(outside));
    EXPECT_FALSE(QFileInfo::exists(home.file("outside/claude_desktop_config.json")));
}

TEST_F(DesktopConfigTest, copyingMcpServersSaysWhatChangesKeepsTheRestAndTheOldFile) {
    writeFile(source, R"({"mcpServers": {"added": {"command": "a"}, "changed": {"command": "new"},
                                         "same": {"command": "s"}}, "globalShortcut": "mine"})");
    const model::Profile work = account("Work", "work");
    const QByteArray before = R"({"mcpServers": {"changed": {"command": "old"}, "same": {"command": "s"},
                                                 "own": {"command": "o"}}, "globalShortcut": "theirs"})";
    writeFile(target(work), before);

    const DesktopConfig::McpPlan plan = DesktopConfig::planMcpCopy(source, accounts(), work);
    ASSERT_TRUE(plan.changes()) << plan.error.toStdString();
    EXPECT_EQ(plan.added, QStringList{"added"});
    EXPECT_EQ(plan.replaced, QStringList{"changed"});
    EXPECT_EQ(readFile(target(work)), before);  // planning writes nothing

    // A link planted as the backup is replaced, not written through.
    writeFile(outside, "outside");
    ASSERT_TRUE(QFile::link(outside, target(work) + ".bak"));
    EXPECT_EQ(DesktopConfig::apply(plan), QString());
    const QJsonObject after = json(target(work));
    const QJsonObject servers = after.value("mcpServers").toObject();
    EXPECT_EQ(servers.keys(), (QStringList{"added", "changed", "own", "same"}));
    EXPECT_EQ(servers.value("changed").toObject().value("command").toString(), "new");
    EXPECT_EQ(after.value("globalShortcut").toString(), "theirs");
    EXPECT_EQ(readFile(target(work) + ".bak"), before);
    EXPECT_FALSE(QFileInfo(target(work) + ".bak").isSymLink());
    EXPECT_EQ(readFile(outside), "outside");

    // Nothing left to change; an invalid account file or a link as the file: refused, untouched.
    EXPECT_FALSE(DesktopConfig::planMcpCopy(source, accounts(), work).changes());
    writeFile(target(work), "{broken");
    EXPECT_TRUE(DesktopConfig::planMcpCopy(source, accounts(), work).error.contains("isn't valid JSON"));
    EXPECT_EQ(readFile(target(work)), "{broken");
    QFile::remove(target(work));
    ASSERT_TRUE(QFile::link(outside, target(work)));
    const DesktopConfig::McpPlan linked = DesktopConfig::planMcpCopy(source, accounts(), work);
    EXPECT_TRUE(linked.error.contains("link"));
    EXPECT_FALSE(DesktopConfig::apply(linked).isEmpty());
    EXPECT_EQ(readFile(outside), "outside");

    // No file yet: created with the servers only, and no backup of nothing.
    const model::Profile fresh = account("Fresh", "fresh");
    const DesktopConfig::McpPlan created = DesktopConfig::planMcpCopy(source, accounts(), fresh);
    EXPECT_EQ(created.added.size(), 3);
    EXPECT_EQ(DesktopConfig::apply(created), QString());
    EXPECT_EQ(json(target(fresh)).keys(), QStringList{"mcpServers"});
    EXPECT_FALSE(QFileInfo::exists(target(fresh) + ".bak"));
}

}  // namespace
}  // namespace varrow::copies
