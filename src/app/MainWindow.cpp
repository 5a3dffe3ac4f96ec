#include "app/MainWindow.h"

#include "app/TrayMenu.h"
#include "claude/ClaudeController.h"
#include "model/ProfileStore.h"
#include "platform/Platform.h"
#include "platform/Timings.h"
#include "ui/AccountsView.h"
#include "ui/AppEvents.h"
#include "ui/AppGlyph.h"
#include "ui/DisplayText.h"
#include "ui/ProfileCard.h"

#include <QCoreApplication>
#include <QMenuBar>
#include <QTimer>

namespace varrow::app {

MainWindow::MainWindow(model::ProfileStore* store, claude::ClaudeController* claude, TrayMenu* trayMenu,
                       ui::DesktopWords words, QWidget* parent)
    : QMainWindow(parent), store_(store), claude_(claude), trayMenu_(trayMenu) {
    setObjectName(QStringLiteral("main"));
    setWindowTitle(QStringLiteral("Varrow"));
    setWindowIcon(ui::AppGlyph::icon());
    // Varrow lives on in the tray (or the command line) after its window closes.
    setAttribute(Qt::WA_QuitOnClose, false);

    auto* content =
        new ui::AccountsView(store, claude, platform::Platform::services(), std::move(words), this);
    setCentralWidget(content);

    QMenu* file = menuBar()->addMenu(tr("&File"));
    QAction* newAccount = file->addAction(tr("New Account…"));
    newAccount->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    connect(newAccount, &QAction::triggered, this, [] { ui::AppEvents::instance().postNewAccount(); });
    // With a tray the quit command lives there; the window keeps the usual shortcut too.
    file->addSeparator();
    quit_ = file->addAction(tr("Quit Varrow"));
    quit_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(quit_, &QAction::triggered, qApp, &QCoreApplication::quit, Qt::QueuedConnection);

    accounts_ = menuBar()->addMenu(tr("Accounts"));
    rebuildAccounts();
    connect(store_, &model::ProfileStore::profilesChanged, this, &MainWindow::rebuildAccounts);

    auto& trays = platform::Platform::trays();
    followTray(trays.isAvailable());
    connect(&trays, &platform::TrayAvailability::availableChanged, this, &MainWindow::followTray);

    // The content gets the whole 560 x 520; the menu bar sits above it, inside the window. Its
    // height is known once the style has seen it.
    ensurePolished();
    const int menuHeight = menuBar()->isNativeMenuBar() ? 0 : menuBar()->sizeHint().height();
    resize(kContentSize + QSize(0, menuHeight));
    // Never below what the content needs (the menu bar adds its own height).
    setMinimumSize(minimumSizeHint());
}

void MainWindow::followTray(bool available) {
    // One Quit at a time, so Ctrl+Q is never ambiguous.
    quit_->setVisible(available);
    if (available) {
        delete varrow_;
    } else if (!varrow_ && trayMenu_) {
        varrow_ = menuBar()->addMenu(QStringLiteral("Varrow"));
        trayMenu_->attach(varrow_, false);
    }
}

void MainWindow::showForLaunch(bool loginLaunch) {
    if (!loginLaunch) return show();
    if (platform::Platform::trays().isAvailable()) return;
    QTimer::singleShot(Timings::loginTrayWait(), this, [this] {
        if (!platform::Platform::trays().isAvailable()) show();
    });
}

void MainWindow::rebuildAccounts() {
    accounts_->clear();
    const QList<model::Profile>& profiles = store_->profiles();
    for (qsizetype i = 0; i < profiles.size() && i < 9; ++i) {
        const model::Profile& profile = profiles.at(i);
        QString title = ui::singleLine(ui::ProfileCard::actionTitle(false, profile.name));
        title.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* action = accounts_->addAction(title);
        action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_1 + i)));
        const QUuid id = profile.id;
        connect(action, &QAction::triggered, this, [this, id] {
            if (auto current = store_->profile(id)) claude_->open(*current);
        });
    }
    accounts_->setEnabled(!profiles.isEmpty());
}

void MainWindow::bringToFront() {
    if (isMinimized()) showNormal();
    show();
    raise();
    activateWindow();
    activationTries_ = 0;
    activateAgain();
}

void MainWindow::activateAgain() {
    // A request from a background process (a second start, the command line) is easily refused as
    // focus stealing, and a window that was just shown is not managed yet; ask the window manager
    // directly, a few times, until the window is active.
    if (isActiveWindow() || !isVisible() || activationTries_ >= Timings::windowActivationRetries) return;
    ++activationTries_;
    platform::Platform::processes().bringSelfToFront();
    QTimer::singleShot(Timings::windowActivationRetry(), this, &MainWindow::activateAgain);
}

}  // namespace varrow::app
