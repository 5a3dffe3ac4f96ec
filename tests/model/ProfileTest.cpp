#include "model/Profile.h"

#include <gtest/gtest.h>
#include <QJsonDocument>

using varrow::model::Profile;
using varrow::model::ProfileColor;
namespace colors = varrow::model::colors;

namespace {

Profile named(const QString& name) {
    Profile p;
    p.name = name;
    return p;
}

QJsonObject validRecord() {
    return QJsonDocument::fromJson(
               R"({"id":"3F2504E0-4F89-11D3-9A0C-0305E82C3301","name":"Work","note":"a@b.c",
        "color":"teal","isDefault":false,"folderName":"work-3f9a","createdAt":"2025-03-14T09:26:53Z"})")
        .object();
}

}  // namespace

TEST(ProfileInitials, SplitAtSpacesHyphensAndEmDashesTakingTwoWords) {
    EXPECT_EQ(named("Work").initials(), "W");
    EXPECT_EQ(named("anne-marie smith").initials(), "AM");
    EXPECT_EQ(named(QString::fromUtf8("Team — Design Review")).initials(), "TD");
    EXPECT_EQ(named("  --  spaced   out  ").initials(), "SO");
    EXPECT_EQ(named("Work\tHome").initials(), "W");
    EXPECT_EQ(named(QString::fromUtf8("Work\u00a0Home")).initials(), "W");
}

TEST(ProfileInitials, EmptyNamesGiveQuestionMark) {
    EXPECT_EQ(named("").initials(), "?");
    EXPECT_EQ(named("   ").initials(), "?");
    EXPECT_EQ(named(" - ").initials(), "?");
}

TEST(ProfileInitials, UseWholeGraphemesAndFullUpperCase) {
    EXPECT_EQ(named(QString::fromUtf8("élan vital")).initials(), QString::fromUtf8("ÉV"));
    EXPECT_EQ(named(QString::fromUtf8("ßeta")).initials(), "SS");
    // A thumbs-up with a skin-tone modifier is one character.
    const QString emoji = QString::fromUtf8("\U0001F44D\U0001F3FD");
    EXPECT_EQ(named(emoji + "x team").initials(), emoji + "T");
    // "e" plus a combining acute accent stays whole.
    EXPECT_EQ(named(QString::fromUtf8("e\u0301cole")).initials(), QString::fromUtf8("E\u0301"));
}

TEST(ProfileTerminalCommand, DefaultAccountIsPlainClaude) {
    Profile p = named("My Claude");
    p.isDefault = true;
    p.folderName = "anything";
    EXPECT_EQ(p.terminalCommand("/home/ann/.local/share/Varrow/Accounts"), "claude");
}

TEST(ProfileTerminalCommand, QuotesTheCodeFolder) {
    Profile p = named("Work");
    p.folderName = "work-3f9a";
    EXPECT_EQ(
        p.terminalCommand("/Users/ann/Library/Application Support/Varrow/Accounts"),
        "CLAUDE_CONFIG_DIR=\"/Users/ann/Library/Application Support/Varrow/Accounts/work-3f9a/Code\" claude");
}

TEST(ProfileTerminalCommand, EscapesWhatTheShellExpandsInsideDoubleQuotes) {
    Profile p = named("Work");
    p.folderName = "work-3f9a";
    EXPECT_EQ(p.terminalCommand(R"(/home/a"b$c`d\e/Accounts)"),
              R"(CLAUDE_CONFIG_DIR="/home/a\"b\$c\`d\\e/Accounts/work-3f9a/Code" claude)");
}

TEST(ProfileFolder, OnlyPlainComponentsGiveAPath) {
    Profile p = named("Work");
    for (const QString& bad : {QString(), QString("."), QString(".."), QString("a/b"), QString("/"),
                               QString("x") + QChar(0) + "y"}) {
        p.folderName = bad;
        EXPECT_FALSE(p.dataFolder("/acc").has_value()) << bad.toStdString();
        EXPECT_EQ(p.terminalCommand("/acc"), "claude");
    }
    p.folderName = "..work";
    EXPECT_EQ(p.dataFolder("/acc").value(), "/acc/..work");
    p.isDefault = true;
    EXPECT_FALSE(p.dataFolder("/acc").has_value());
}

TEST(ProfileJson, RoundTripsAndOmitsAbsentLastOpened) {
    auto p = Profile::fromJson(validRecord());
    ASSERT_TRUE(p);
    EXPECT_EQ(p->color, ProfileColor::Teal);
    EXPECT_EQ(p->name, "Work");
    EXPECT_FALSE(p->lastOpenedAt);
    const QJsonObject out = p->toJson();
    EXPECT_FALSE(out.contains("lastOpenedAt"));
    EXPECT_EQ(out.value("id").toString(), "3F2504E0-4F89-11D3-9A0C-0305E82C3301");
    EXPECT_EQ(out.value("createdAt").toString(), "2025-03-14T09:26:53Z");
    EXPECT_EQ(Profile::fromJson(out), p);

    p->lastOpenedAt = QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5, 678), Qt::UTC);
    EXPECT_EQ(p->toJson().value("lastOpenedAt").toString(), "2026-01-02T03:04:05Z");
}

TEST(ProfileJson, ReadsLowerCaseIdsAndIgnoresUnknownKeys) {
    QJsonObject o = validRecord();
    o["id"] = "3f2504e0-4f89-11d3-9a0c-0305e82c3301";
    o["extra"] = 42;
    auto p = Profile::fromJson(o);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->toJson().value("id").toString(), "3F2504E0-4F89-11D3-9A0C-0305E82C3301");
}

TEST(ProfileJson, StrictReadingRejectsMalformedRecords) {
    const QList<std::pair<const char*, QJsonValue>> bad{
        {"id", "not-a-uuid"},
        {"id", "{3F2504E0-4F89-11D3-9A0C-0305E82C3301}"},
        {"id", 7},
        {"name", QJsonValue()},
        {"note", false},
        {"color", "mauve"},
        {"color", "Teal"},
        {"isDefault", "false"},
        {"folderName", 1},
        {"createdAt", "2025-03-14 09:26:53"},
        {"createdAt", "2025-03-14T09:26:53.120Z"},
        {"createdAt", "2025-13-14T09:26:53Z"},
        {"createdAt", "2025-03-14T09:26:53+01:00"},
        {"createdAt", "-025-03-14T09:26:53Z"},
        {"createdAt", "2025-02-30T09:26:53Z"},
        {"createdAt", "2025-03-14T24:00:00Z"},
        {"id", "3F2504E0-4F89-11D3-9A0C-0305E82C330G"},
        {"id", "3F2504E0+4F89-11D3-9A0C-0305E82C3301"},
        {"lastOpenedAt", "yesterday"},
        {"lastOpenedAt", 5},
    };
    for (const auto& [key, value] : bad) {
        QJsonObject o = validRecord();
        o[key] = value;
        QString why;
        EXPECT_FALSE(Profile::fromJson(o, &why)) << key;
        EXPECT_FALSE(why.isEmpty());
    }
    for (const char* key : {"id", "name", "note", "color", "isDefault", "folderName", "createdAt"}) {
        QJsonObject o = validRecord();
        o.remove(key);
        EXPECT_FALSE(Profile::fromJson(o)) << key;
    }
    EXPECT_FALSE(Profile::fromJson(QJsonValue("text")));
}

TEST(ProfileColors, TableLabelsAndComponents) {
    ASSERT_EQ(colors::allCases().size(), 8);
    EXPECT_EQ(colors::allCases().first(), ProfileColor::Clay);
    EXPECT_EQ(colors::allCases().last(), ProfileColor::Plum);
    EXPECT_EQ(colors::label(ProfileColor::Sky), "Sky");
    EXPECT_EQ(colors::rgb(ProfileColor::Iris), 0x7B6CE0u);
    for (ProfileColor c : colors::allCases()) EXPECT_EQ(colors::fromRawValue(colors::rawValue(c)), c);
    EXPECT_FALSE(colors::fromRawValue("Clay"));
    const QColor sky = colors::color(ProfileColor::Sky);
    EXPECT_EQ(sky.rgb() & 0xFFFFFF, 0x4A8FE0u);
    const QLinearGradient g = colors::gradient(ProfileColor::Sage, QRectF(0, 0, 10, 20));
    ASSERT_EQ(g.stops().size(), 2);
    EXPECT_NEAR(g.stops().first().second.alphaF(), 0.85, 0.01);
    EXPECT_EQ(g.finalStop(), QPointF(10, 20));
}

TEST(ProfileColors, MenuDotIsASolidCentredDot) {
    const QImage dot = colors::menuDot(ProfileColor::Sky);
    ASSERT_EQ(dot.size(), QSize(12, 12));
    EXPECT_EQ(dot.pixel(6, 6) & 0xFFFFFF, 0x4A8FE0u);
    EXPECT_EQ(qAlpha(dot.pixel(6, 6)), 255);
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(qAlpha(dot.pixel(i, 0)), 0);
        EXPECT_EQ(qAlpha(dot.pixel(0, i)), 0);
        EXPECT_EQ(qAlpha(dot.pixel(i, 11)), 0);
        EXPECT_EQ(qAlpha(dot.pixel(11, i)), 0);
    }
    EXPECT_EQ(colors::menuDot(ProfileColor::Sky, 2.0).size(), QSize(24, 24));
}
