#pragma once

#include "ui/DisplayText.h"

#include <QMainWindow>
#include <QPointer>

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
// "Accounts" menu (Ctrl+1 to Ctrl+9, rebuilt on every list change) and, while there is no tray,
// the tray's own menu as "Varrow". Closing it only hides it.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // The content area's size at start; the menu bar comes on top of it.
    static constexpr QSize kContentSize{560, 520};

    MainWindow(model::ProfileStore* store, claude::ClaudeController* claude, TrayMenu* trayMenu,
               ui::DesktopWords words = {}, QWidget* parent = nullptr);

    // Shows the window and asks for it to be the active one.
    void bringToFront();
    // At start: shown, except for a login launch while a tray holds Varrow's icon. A login launch
    // gives a tray host still starting with the session a moment to appear before showing it.
    void showForLaunch(bool loginLaunch);

    QMenu* accountsMenu() const { return accounts_; }
    // The "Varrow" menu; null while a tray shows the same menu.
    QMenu* varrowMenu() const { return varrow_; }

private:
    void rebuildAccounts();
    void followTray(bool available);
    void activateAgain();

    model::ProfileStore* store_;
    claude::ClaudeController* claude_;
    TrayMenu* trayMenu_;
    QMenu* accounts_;
    QAction* quit_;
    QPointer<QMenu> varrow_;
    int activationTries_ = 0;
};

}  // namespace varrow::app
