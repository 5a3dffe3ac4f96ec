#include "app/MenuModel.h"

#include "claude/ClaudeController.h"
#include "model/Defaults.h"
#include "model/ProfileStore.h"

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

QString MenuModel::asleepSuffix() {
    return QStringLiteral("  \u00b7  ") + QCoreApplication::translate("MenuModel", "asleep");
}

QList<MenuEntry> MenuModel::entries(const model::ProfileStore& store, const claude::ClaudeController& claude,
                                    const model::Defaults& defaults) {
    State state;
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
        menu.append(button(QStringLiteral("Download Claude…"), Action::DownloadClaude));
        menu.append(MenuEntry::divider());
    }

    for (qsizetype i = 0; i < state.profiles.size(); ++i) {
        const model::Profile& profile = state.profiles.at(i);
        QString title = profile.name;
        if (state.running.contains(profile.id))
            title += QString::fromUtf8(kOpenSuffix);
        else if (state.asleep.contains(profile.id))
            title += asleepSuffix();
        MenuEntry entry = button(title, Action::OpenProfile);
        if (i <= 8) entry.shortcut = QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_1 + i));
        entry.profileId = profile.id;
        entry.dot = profile.color;
        menu.append(entry);
    }
    menu.append(MenuEntry::divider());

    menu.append(button(QStringLiteral("Add Account…"), Action::AddAccount));
    menu.append(button(QStringLiteral("Manage Accounts…"), Action::ManageAccounts));
    menu.append(MenuEntry::divider());

    MenuEntry styles = button(QStringLiteral("Switcher in Claude"), Action::None);
    styles.kind = Kind::Submenu;
    styles.children = {
        styleChoice(QStringLiteral("edge"), QStringLiteral("Pull-out tab"), state.switcherStyle),
        styleChoice(QStringLiteral("floating"), QStringLiteral("Floating bar"), state.switcherStyle),
        styleChoice(QStringLiteral("off"), QStringLiteral("Off"), state.switcherStyle),
    };
    menu.append(styles);

    MenuEntry hotKey = button(QStringLiteral("⌘` Switches Accounts"), Action::ToggleCycleHotKey);
    hotKey.kind = Kind::Check;
    hotKey.checked = state.cycleHotKeyEnabled;
    menu.append(hotKey);

    menu.append(button(QStringLiteral("Show Switch Log"), Action::ShowSwitchLog));
    menu.append(MenuEntry::divider());
    menu.append(button(QStringLiteral("Quit Varrow"), Action::Quit, QKeySequence(Qt::CTRL | Qt::Key_Q)));
    return menu;
}

}  // namespace varrow::app
