#pragma once

#include "model/ProfileColor.h"

#include <QCoreApplication>
#include <QKeySequence>
#include <QList>
#include <QSet>
#include <QString>
#include <QUuid>
#include <optional>

namespace varrow::model {
struct Profile;
class ProfileStore;
class Defaults;
}  // namespace varrow::model
namespace varrow::claude {
class ClaudeController;
}

namespace varrow::app {

// What the tray menu shows, as plain data: computed from the store, the controller and the
// defaults, so it can be checked without a tray and drawn into any QMenu.
struct MenuEntry {
    enum class Kind { Button, Divider, Submenu, Choice, Check };
    enum class Action {
        None,
        DownloadClaude,
        OpenProfile,
        AddAccount,
        ManageAccounts,
        SetSwitcherStyle,
        ToggleCycleHotKey,
        ShowSwitchLog,
        Quit,
    };

    Kind kind = Kind::Button;
    QString title;  // as the user reads it
    QKeySequence shortcut;
    bool checked = false;
    Action action = Action::None;
    QUuid profileId;                         // OpenProfile
    QString value;                           // SetSwitcherStyle: the raw style value
    std::optional<model::ProfileColor> dot;  // OpenProfile: the account's colour
    QList<MenuEntry> children;               // Submenu

    static MenuEntry divider() {
        return MenuEntry{Kind::Divider, {}, {}, false, Action::None, {}, {}, {}, {}};
    }
};

class MenuModel {
    Q_DECLARE_TR_FUNCTIONS(MenuModel)

public:
    // Everything the menu depends on, already read.
    struct State {
        QList<model::Profile> profiles;
        bool claudeFound = false;
        QSet<QUuid> running;
        QSet<QUuid> asleep;
        QString switcherStyle;  // as stored; any text
        bool cycleHotKeyEnabled = true;
        QString cycleKey = QStringLiteral("Ctrl+`");  // as the keyboard layout prints it
    };

    static QList<MenuEntry> entries(const model::ProfileStore& store, const claude::ClaudeController& claude,
                                    const model::Defaults& defaults, const QString& cycleKey);
    static QList<MenuEntry> entries(const State& state);
};

}  // namespace varrow::app
