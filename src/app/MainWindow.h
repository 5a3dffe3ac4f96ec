#pragma once

#include <QMainWindow>

class QMenu;

namespace varrow::model {
class ProfileStore;
}
namespace varrow::claude {
class ClaudeController;
}

namespace varrow::app {

class TrayMenu;

// The accounts window ("main", titled "Varrow") with its menu bar: File > New Account…, the
// "Accounts" menu (Ctrl+1 to Ctrl+9, rebuilt on every list change) and, when there is no tray,
// the tray's own menu as "Varrow". Closing it only hides it.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // trayMenu: attached as the "Varrow" menu when withVarrowMenu is true.
    MainWindow(model::ProfileStore* store, claude::ClaudeController* claude, TrayMenu* trayMenu,
               bool withVarrowMenu, QWidget* parent = nullptr);

    // Shows the window and asks for it to be the active one.
    void bringToFront();
    QMenu* accountsMenu() const { return accounts_; }

private:
    void rebuildAccounts();
    void activateAgain();

    model::ProfileStore* store_;
    claude::ClaudeController* claude_;
    QMenu* accounts_;
    int activationTries_ = 0;
};

}  // namespace varrow::app
