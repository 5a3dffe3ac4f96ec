#pragma once

#include "app/MenuModel.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <functional>

class QMenu;

namespace varrow::model {
class ProfileStore;
}

namespace varrow::app {

// The menu of the tray icon (and of the window's "Varrow" menu where there is no tray): drawn from
// MenuModel into every attached QMenu, redrawn whenever the store, the controller or the defaults
// change, and performing the entries' actions.
class TrayMenu : public QObject {
    Q_OBJECT
public:
    // showWindow opens the accounts window and activates Varrow.
    TrayMenu(model::ProfileStore* store, claude::ClaudeController* claude, std::function<void()> showWindow,
             QObject* parent = nullptr);

    // Keeps the menu filled with the entries. With bindShortcuts false the Ctrl+digit shortcuts are
    // shown but not bound, so they do not clash with the window's own "Accounts" menu.
    void attach(QMenu* menu, bool bindShortcuts);
    QList<MenuEntry> entries() const;

    void trigger(const MenuEntry& entry);
    // Creates the switch log when it does not exist yet, then opens it in the user's viewer.
    static void showSwitchLog();

public slots:
    void rebuild();

private:
    void fill(QMenu* menu, const QList<MenuEntry>& entries, bool bindShortcuts);

    model::ProfileStore* store_;
    claude::ClaudeController* claude_;
    std::function<void()> showWindow_;
    QList<std::pair<QPointer<QMenu>, bool>> menus_;
};

}  // namespace varrow::app
