#include "app/MenuModel.h"

#include "claude/ClaudeController.h"
#include "model/Defaults.h"
#include "model/ProfileStore.h"
#include "switcher/SwitcherStyle.h"

#include <QCoreApplication>

namespace varrow::app {

using Action = MenuEntry::Action;
using Kind = MenuEntry::Kind;

namespace {

MenuEntry button(const QString& title, Action action, const QKeySequence& shortcut = {}) {
    MenuEntry entry;
    entry.title = title;
    entry.action = action;
    entry.shortcut = shortcut;
    return entry;
}

MenuEntry styleChoice(const QString& rawValue, const QString& title, const QString& stored) {
    MenuEntry entry = button(title, Action::SetSwitcherStyle);
    entry.kind = Kind::Choice;
    entry.value = rawValue;
    // A stored text that is none of the three checks nothing, and nothing rewrites it.
    entry.checked = stored == rawValue;
    return entry;
}

}  // namespace

QList<MenuEntry> MenuModel::entries(const model::ProfileStore& store, const claude::ClaudeController& claude,
                                    const model::Defaults& defaults, const QString& cycleKey) {
    State state;
    state.cycleKey = cycleKey;
    state.profiles = store.profiles();
    state.claudeFound = claude.claudeURL().has_value();
    for (auto it = claude.running().cbegin(); it != claude.running().cend(); ++it)
        state.running.insert(it.key());
    state.asleep = claude.asleep();
    state.switcherStyle = defaults.switcherStyle();
    state.cycleHotKeyEnabled = defaults.cycleHotKeyEnabled();
    return entries(state);
}

QList<MenuEntry> MenuModel::entries(const State& state) {
    QList<MenuEntry> menu;
    if (!state.claudeFound) {
        menu.append(button(tr("Download Claude…"), Action::DownloadClaude));
        menu.append(MenuEntry::divider());
    }

    for (qsizetype i = 0; i < state.profiles.size(); ++i) {
        const model::Profile& profile = state.profiles.at(i);
        QString title = profile.name;
        if (state.running.contains(profile.id))
            title = tr("%1  ·  open", "an account that is open").arg(title);
        else if (state.asleep.contains(profile.id))
            title = tr("%1  ·  asleep", "an account that Varrow let sleep").arg(title);
        MenuEntry entry = button(title, Action::OpenProfile);
        if (i <= 8) entry.shortcut = QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_1 + i));
        entry.profileId = profile.id;
        entry.dot = profile.color;
        menu.append(entry);
    }
    menu.append(MenuEntry::divider());

    menu.append(button(tr("Add Account…"), Action::AddAccount));
    menu.append(button(tr("Manage Accounts…"), Action::ManageAccounts));
    menu.append(MenuEntry::divider());

    MenuEntry styles = button(tr("Switcher in Claude"), Action::None);
    styles.kind = Kind::Submenu;
    for (const switcher::SwitcherStyle style : switcher::styles::allCases())
        styles.children.append(styleChoice(switcher::styles::rawValue(style), switcher::styles::label(style),
                                           state.switcherStyle));
    menu.append(styles);

    MenuEntry hotKey = button(tr("%1 Switches Accounts").arg(state.cycleKey), Action::ToggleCycleHotKey);
    hotKey.kind = Kind::Check;
    hotKey.checked = state.cycleHotKeyEnabled;
    menu.append(hotKey);

    menu.append(button(tr("Show Switch Log"), Action::ShowSwitchLog));
    menu.append(MenuEntry::divider());
    menu.append(button(tr("Quit Varrow"), Action::Quit, QKeySequence(Qt::CTRL | Qt::Key_Q)));
    return menu;
}

}  // namespace varrow::app
