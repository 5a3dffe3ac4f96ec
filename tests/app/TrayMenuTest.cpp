#include "app/TrayMenu.h"

#include "AppFixture.h"
#include "front/FrontSwitcher.h"
#include "ui/AppEvents.h"

#include <QApplication>
#include <QFileInfo>
#include <QMenu>
#include <QSignalSpy>

using namespace varrow;
using app::MenuEntry;
using app::TrayMenu;
using model::Defaults;

namespace {

class TrayMenuTest : public test::AppFixture {
protected:
    QAction* action(QMenu& menu, const QString& text) {
        for (QAction* a : menu.actions())
            if (a->text() == text) return a;
        for (QAction* a : menu.actions())
            if (a->menu())
                for (QAction* inner : a->menu()->actions())
                    if (inner->text() == text) return inner;
        ADD_FAILURE() << "no action " << text.toStdString();
        return nullptr;
    }
    QStringList texts(QMenu& menu) {
        QStringList out;
        for (QAction* a : menu.actions()) out.append(a->isSeparator() ? QStringLiteral("--") : a->text());
        return out;
    }
};

// Each front change and each opening redraws the menu: nothing it drew before may stay behind.
TEST_F(TrayMenuTest, RedrawingLeavesNoObjectBehind) {
    TrayMenu tray(store.get(), claude.get(), {});
    QMenu menu;
    tray.attach(&menu, true);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const qsizetype objects = menu.findChildren<QObject*>().size();
    const qsizetype widgets = QApplication::allWidgets().size();
    for (int i = 0; i < 50; ++i) tray.rebuild();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(menu.findChildren<QObject*>().size(), objects);
    EXPECT_EQ(QApplication::allWidgets().size(), widgets);
}

TEST_F(TrayMenuTest, DrawsTheEntriesAndRedrawsOnChanges) {
    int shown = 0;
    TrayMenu tray(store.get(), claude.get(), [&] { ++shown; });
    QMenu menu;
    tray.attach(&menu, true);
    const QStringList before = texts(menu);
    ASSERT_GE(before.size(), 3);
    EXPECT_EQ(before.at(0), "Download Claude…");
    EXPECT_EQ(before.at(2), "My Claude");
    EXPECT_TRUE(before.contains("Ctrl+` Switches Accounts"));
    EXPECT_EQ(action(menu, "My Claude")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_1));
    EXPECT_FALSE(action(menu, "My Claude")->icon().isNull());

    // A name with a line break and an ampersand stays one line and shows its "&".
    addAccounts({"R&D\nteam"});
    EXPECT_EQ(texts(menu).at(3), "R&&D team");

    Defaults::shared().setValue(Defaults::kCycleHotKeyEnabled, false);
    EXPECT_FALSE(action(menu, "Ctrl+` Switches Accounts")->isChecked());

    // A switch to a layout that prints ^ on the key left of 1 renames the key.
    platform.hotKeys.switchLayout(QStringLiteral("^"));
    EXPECT_TRUE(texts(menu).contains("Ctrl+^ Switches Accounts"));
}

TEST_F(TrayMenuTest, ActionsWriteDefaultsOpenWindowsAndQuit) {
    int shown = 0;
    TrayMenu tray(store.get(), claude.get(), [&] { ++shown; });
    QMenu menu;
    tray.attach(&menu, true);

    action(menu, "Floating bar")->trigger();
    EXPECT_EQ(Defaults::shared().switcherStyle(), "floating");
    EXPECT_TRUE(action(menu, "Floating bar")->isChecked());
    EXPECT_FALSE(action(menu, "Pull-out tab")->isChecked());

    action(menu, "Ctrl+` Switches Accounts")->trigger();
    EXPECT_FALSE(Defaults::shared().cycleHotKeyEnabled());

    QSignalSpy newAccount(&ui::AppEvents::instance(), &ui::AppEvents::newAccountRequested);
    action(menu, "Add Account…")->trigger();
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(newAccount.count(), 1);
    action(menu, "Manage Accounts…")->trigger();
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(newAccount.count(), 1);

    action(menu, "Download Claude…")->trigger();
    ASSERT_EQ(platform.desktopFiles.openedUrls.size(), 1);
    EXPECT_EQ(platform.desktopFiles.openedUrls.at(0), claude::ClaudeController::downloadURL());
}

TEST_F(TrayMenuTest, ShowSwitchLogCreatesTheLogFirst) {
    const QString path = front::FrontSwitcher::logPath();
    ASSERT_TRUE(path.startsWith(home.path())) << path.toStdString();
    ASSERT_FALSE(QFileInfo::exists(path));
    TrayMenu::showSwitchLog();
    const QString content = QString::fromUtf8(test::readFile(path));
    EXPECT_TRUE(content.endsWith(" log opened\n")) << content.toStdString();
    EXPECT_EQ(content.count('\n'), 1);
    ASSERT_EQ(platform.desktopFiles.openedUrls.size(), 1);
    EXPECT_EQ(platform.desktopFiles.openedUrls.at(0), front::FrontSwitcher::logURL());

    // An existing log is opened as it is.
    TrayMenu::showSwitchLog();
    EXPECT_EQ(QString::fromUtf8(test::readFile(path)), content);
}

TEST_F(TrayMenuTest, WindowMenuShowsButDoesNotBindTheAccountShortcuts) {
    TrayMenu tray(store.get(), claude.get(), {});
    QMenu menu;
    tray.attach(&menu, false);
    QAction* first = menu.actions().at(2);
    EXPECT_TRUE(first->shortcut().isEmpty());
    EXPECT_TRUE(first->text().endsWith("\tCtrl+1")) << first->text().toStdString();
    EXPECT_EQ(action(menu, "Quit Varrow")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
}

TEST_F(TrayMenuTest, MenuDrawsItsEntriesWithColouredDots) {
    addAccounts({"Work", "Home"});
    TrayMenu tray(store.get(), claude.get(), {});
    QMenu menu;
    tray.attach(&menu, true);
    menu.adjustSize();
    const QImage image = menu.grab().toImage();
    ASSERT_GT(image.height(), 200);
    // The teal dot of the Work entry is drawn in its colour.
    const QColor teal = model::colors::color(model::ProfileColor::Teal);
    bool found = false;
    for (int y = 0; y < image.height() && !found; ++y)
        for (int x = 0; x < 40 && !found; ++x) found = QColor(image.pixel(x, y)) == teal;
    EXPECT_TRUE(found);
    // For the documentation: VARROW_SCREENSHOTS=folder writes the picture.
    if (const QString folder = qEnvironmentVariable("VARROW_SCREENSHOTS"); !folder.isEmpty())
        image.save(folder + "/tray-menu.png");
}

}  // namespace
