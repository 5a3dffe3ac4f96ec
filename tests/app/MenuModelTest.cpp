#include "app/MenuModel.h"

#include "model/ProfileStore.h"

#include <gtest/gtest.h>

using namespace varrow;
using app::MenuEntry;
using app::MenuModel;
using Action = MenuEntry::Action;
using Kind = MenuEntry::Kind;

namespace {

QList<model::Profile> profiles(int count) {
    QList<model::Profile> list;
    for (int i = 0; i < count; ++i) {
        model::Profile p;
        p.id = QUuid::createUuid();
        p.name = QStringLiteral("Account %1").arg(i + 1);
        p.color = model::colors::allCases().at(i % 8);
        list.append(p);
    }
    return list;
}

// Titles joined with "|", dividers as "--", so failures print readably.
std::string titles(const QList<MenuEntry>& menu) {
    QStringList out;
    for (const auto& e : menu) out.append(e.kind == Kind::Divider ? QStringLiteral("--") : e.title);
    return out.join(u'|').toStdString();
}

const MenuEntry& find(const QList<MenuEntry>& menu, Action action) {
    for (const auto& e : menu)
        if (e.action == action) return e;
    static MenuEntry none;
    ADD_FAILURE() << "no entry for action " << int(action);
    return none;
}

MenuEntry submenu(const QList<MenuEntry>& menu) {
    for (const auto& e : menu)
        if (e.kind == Kind::Submenu) return e;
    ADD_FAILURE() << "no submenu";
    return {};
}

TEST(MenuModel, FullMenuInOrderWithClaudeMissing) {
    MenuModel::State state;
    state.profiles = profiles(3);
    state.running.insert(state.profiles.at(1).id);
    state.asleep.insert(state.profiles.at(2).id);
    state.switcherStyle = QStringLiteral("edge");
    const auto menu = MenuModel::entries(state);

    EXPECT_EQ(titles(menu),
              "Download Claude…|--|Account 1|Account 2  ·  open|Account 3  ·  asleep|--|Add Account…|Manage "
              "Accounts…|"
              "--|Switcher in Claude|Ctrl+` Switches Accounts|Show Switch Log|--|Quit Varrow");
    EXPECT_EQ(menu.at(2).action, Action::OpenProfile);
    EXPECT_EQ(menu.at(2).profileId, state.profiles.at(0).id);
    EXPECT_EQ(menu.at(3).dot, state.profiles.at(1).color);
    EXPECT_EQ(find(menu, Action::Quit).shortcut, QKeySequence(Qt::CTRL | Qt::Key_Q));
    EXPECT_EQ(find(menu, Action::ToggleCycleHotKey).kind, Kind::Check);
    EXPECT_TRUE(find(menu, Action::ToggleCycleHotKey).checked);
}

TEST(MenuModel, ClaudeFoundAndNoProfilesKeepsTheDividerBeforeAddAccount) {
    MenuModel::State state;
    state.claudeFound = true;
    const auto menu = MenuModel::entries(state);
    ASSERT_GE(menu.size(), 2);
    EXPECT_EQ(menu.at(0).kind, Kind::Divider);
    EXPECT_EQ(menu.at(1).title, "Add Account…");
}

TEST(MenuModel, OnlyTheFirstNineAccountsHaveShortcuts) {
    MenuModel::State state;
    state.claudeFound = true;
    state.profiles = profiles(12);
    const auto menu = MenuModel::entries(state);
    for (int i = 0; i < 12; ++i) {
        const MenuEntry& entry = menu.at(i);
        ASSERT_EQ(entry.action, Action::OpenProfile);
        if (i < 9)
            EXPECT_EQ(entry.shortcut.toString(), QStringLiteral("Ctrl+%1").arg(i + 1));
        else
            EXPECT_TRUE(entry.shortcut.isEmpty()) << i;
    }
}

TEST(MenuModel, StyleChoicesCheckOnlyTheStoredRawValue) {
    MenuModel::State state;
    auto checkedStyles = [&](const QString& stored) {
        state.switcherStyle = stored;
        QStringList out;
        for (const auto& choice : submenu(MenuModel::entries(state)).children) {
            EXPECT_EQ(choice.action, Action::SetSwitcherStyle);
            if (choice.checked) out.append(choice.value);
        }
        return out;
    };
    EXPECT_EQ(checkedStyles("floating").join(u','), "floating");
    EXPECT_EQ(checkedStyles("off").join(u','), "off");
    EXPECT_TRUE(checkedStyles("sideways").isEmpty());

    state.switcherStyle = "edge";
    EXPECT_EQ(titles(submenu(MenuModel::entries(state)).children), "Pull-out tab|Floating bar|Off");
}

}  // namespace
