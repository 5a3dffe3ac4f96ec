#include "app/MainWindow.h"

#include "AppFixture.h"
#include "app/TrayMenu.h"
#include "platform/Timings.h"
#include "ui/AccountsView.h"
#include "ui/AppEvents.h"

#include <QApplication>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>

using namespace varrow;
using app::MainWindow;
using app::TrayMenu;

namespace {

class MainWindowTest : public test::AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        Timings::setScaleForTests(0.05);
        tray = std::make_unique<TrayMenu>(store.get(), claude.get(), [] {});
    }
    void TearDown() override {
        Timings::setScaleForTests(1.0);
        tray.reset();
        AppFixture::TearDown();
    }
    std::unique_ptr<MainWindow> window() {
        return std::make_unique<MainWindow>(store.get(), claude.get(), tray.get());
    }
    static QStringList titles(QMenu* menu) {
        QStringList out;
        for (QAction* a : menu->actions()) out.append(a->text() + u'|' + a->shortcut().toString());
        return out;
    }
    // Long enough for a login launch to have given up waiting for a tray.
    static void waitOutTheLoginWait() { QTest::qWait(int(Timings::loginTrayWait().count()) * 3); }

    std::unique_ptr<TrayMenu> tray;
};

TEST_F(MainWindowTest, TheAccountsMenuOpensTheFirstNineAccountsAndFollowsTheList) {
    QStringList names;
    for (int i = 1; i <= 10; ++i) names.append(QString("Account %1").arg(i));
    addAccounts(names);
    auto w = window();
    const QStringList shown = titles(w->accountsMenu());
    ASSERT_EQ(shown.size(), 9);
    EXPECT_EQ(shown.first(), "Open My Claude|Ctrl+1");
    EXPECT_EQ(shown.last(), "Open Account 8|Ctrl+9");

    // The list changes: the menu is drawn again from it, and an entry opens what it names now.
    QList<model::Profile> list = store->profiles();
    list.move(9, 1);
    list[1].name = "R&D";
    store->setProfiles(list);
    EXPECT_EQ(titles(w->accountsMenu()).at(1), "Open R&&D|Ctrl+2");
    EXPECT_EQ(titles(w->accountsMenu()).size(), 9);
    w->accountsMenu()->actions().at(1)->trigger();
    EXPECT_TRUE(store->profile(list[1].id)->lastOpenedAt.has_value());
    EXPECT_FALSE(store->profile(list[2].id)->lastOpenedAt.has_value());

    store->setProfiles({store->profiles().first()});
    EXPECT_EQ(titles(w->accountsMenu()), QStringList{"Open My Claude|Ctrl+1"});
}

TEST_F(MainWindowTest, CtrlNAsksForANewAccountAndClosingOnlyHidesTheWindow) {
    auto w = window();
    w->show();
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    // The content area is the whole 560 x 520; the menu bar comes on top of it.
    EXPECT_EQ(w->centralWidget()->size(), QSize(560, 520));
    EXPECT_EQ(w->height(), 520 + w->menuBar()->height());
    EXPECT_GT(w->menuBar()->height(), 0);
    if (qEnvironmentVariableIsSet("VARROW_UI_RENDERS"))
        w->grab().save(qEnvironmentVariable("VARROW_UI_RENDERS") + "/main-window.png");

    QSignalSpy asked(&ui::AppEvents::instance(), &ui::AppEvents::newAccountRequested);
    QTest::keyClick(w.get(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(asked.count(), 1);
    // The accounts view answers with its editor.
    auto* view = qobject_cast<ui::AccountsView*>(w->centralWidget());
    ASSERT_TRUE(view && view->editor());
    view->editor()->reject();

    QSignalSpy lastClosed(qApp, &QGuiApplication::lastWindowClosed);
    w->close();
    QTest::qWait(20);
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(lastClosed.count(), 0) << "closing the window would end Varrow";
}

TEST_F(MainWindowTest, ALoginLaunchShowsTheWindowOnlyWhenThereIsNoTray) {
    // A tray is there: the login launch stays in it, and the window has no menu of its own.
    platform.trays.setAvailable(true);
    auto w = window();
    w->showForLaunch(true);
    waitOutTheLoginWait();
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(w->varrowMenu(), nullptr);

    // The tray goes: the window carries the tray's menu, and Ctrl+Q stays with one Quit only.
    platform.trays.setAvailable(false);
    ASSERT_NE(w->varrowMenu(), nullptr);
    EXPECT_TRUE(titles(w->varrowMenu()).contains("Quit Varrow|Ctrl+Q"));
    int quits = 0;
    for (QAction* a : w->findChildren<QAction*>())
        quits += a->isVisible() && a->shortcut() == QKeySequence(Qt::CTRL | Qt::Key_Q);
    EXPECT_EQ(quits, 1);

    // No tray at a login launch: the window shows, and stays when a tray turns up later.
    auto second = window();
    second->showForLaunch(true);
    EXPECT_TRUE(test::waitUntil([&] { return second->isVisible(); }));
    platform.trays.setAvailable(true);
    EXPECT_TRUE(second->isVisible());
    EXPECT_EQ(second->varrowMenu(), nullptr);

    // A tray host that comes up just after the session starts is waited for.
    platform.trays.setAvailable(false);
    auto third = window();
    third->showForLaunch(true);
    platform.trays.setAvailable(true);
    waitOutTheLoginWait();
    EXPECT_FALSE(third->isVisible());

    // Any other launch shows the window at once.
    auto fourth = window();
    fourth->showForLaunch(false);
    EXPECT_TRUE(fourth->isVisible());
}

}  // namespace
