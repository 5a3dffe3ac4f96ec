#include "UiFixture.h"

#include "ui/AccountsView.h"
#include "ui/AddAccountCard.h"
#include "ui/AppEvents.h"
#include "ui/Banners.h"
#include "ui/CardGrid.h"
#include "ui/MemoryFigures.h"
#include "ui/OverlayScrollBar.h"
#include "ui/ProfileCard.h"
#include "ui/StatusLine.h"
#include "ui/Theme.h"

#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

namespace varrow::ui::test {
namespace {

class AccountsViewTest : public UiTest {
protected:
    AccountsView& view() {
        if (!view_) {
            view_ = std::make_unique<AccountsView>(store.get(), &controller(), fake.services(), words);
            view_->resize(560, 520);
            view_->show();
        }
        return *view_;
    }
    QStringList texts(const QList<CardMenuItem>& entries) {
        QStringList out;
        for (const CardMenuItem& e : entries) out.append(e.separator ? QStringLiteral("—") : e.text);
        return out;
    }
    const CardMenuItem* find(const QList<CardMenuItem>& entries, const QString& prefix) {
        for (const CardMenuItem& e : entries)
            if (!e.separator && e.text.startsWith(prefix)) return &e;
        return nullptr;
    }
    QPushButton* button(QWidget* parent, const QString& text) {
        for (auto* b : parent->findChildren<QPushButton*>())
            if (b->text() == text) return b;
        return nullptr;
    }
    void TearDown() override { view_.reset(); }

    DesktopWords words{platform::PinnedApps::Kind::Favourites, {}};
    std::unique_ptr<AccountsView> view_;
};

TEST_F(AccountsViewTest, addingThroughTheEditorStoresAUniqueNameAndOpensTheAccount) {
    addAccount("Work");
    QTest::mouseClick(view().addButton(), Qt::LeftButton);
    ProfileEditor* editor = view().editor();
    ASSERT_TRUE(editor);
    EXPECT_TRUE(editor->isNew());
    const QString expected = store->uniqueName("work");
    QTest::keyClicks(editor->nameField(), "  work ");
    QTest::mouseClick(editor->saveButton(), Qt::LeftButton);

    ASSERT_EQ(store->profiles().size(), 3);
    const Profile added = store->profiles().last();
    EXPECT_EQ(added.name, expected);
    EXPECT_NE(added.name, "work");
    EXPECT_FALSE(added.isDefault);
    EXPECT_EQ(added.folderName.isEmpty(), false);
    // Saved to disk, and launched through the process service.
    store->flush();
    model::ProfileStore reread(home.locations());
    EXPECT_EQ(reread.profiles().size(), 3);
    EXPECT_TRUE(waitUntil([&] { return !fake.processes.openRequests.isEmpty(); }));
    EXPECT_TRUE(
        fake.processes.openRequests.last().configuration.arguments.join(' ').contains(added.folderName));
    settle();
    EXPECT_EQ(view().cards().size(), 3);
}

TEST_F(AccountsViewTest, theNewAccountNotificationAndTheAddCardOpenTheEditor) {
    view();
    AppEvents::instance().postNewAccount();
    ASSERT_TRUE(view().editor());
    view().editor()->reject();
    settle();
    EXPECT_FALSE(view().editor());
    EXPECT_EQ(store->profiles().size(), 1);
    const QPoint centre = view().addCard()->cardRect().center().toPoint();
    QTest::mouseClick(view().addCard(), Qt::LeftButton, {}, centre);
    EXPECT_TRUE(view().editor());
}

TEST_F(AccountsViewTest, editingReplacesOnlyNameNoteAndColour) {
    const Profile work = addAccount("Work", model::ProfileColor::Teal);
    view().startEditing(work);
    ProfileEditor* editor = view().editor();
    ASSERT_TRUE(editor);
    editor->nameField()->setText("Office");
    editor->noteField()->setText("  me@office.example ");
    editor->setColor(model::ProfileColor::Rose);
    editor->saveButton()->click();
    const auto stored = store->profile(work.id);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->name, "Office");
    EXPECT_EQ(stored->note, "me@office.example");
    EXPECT_EQ(stored->color, model::ProfileColor::Rose);
    EXPECT_EQ(stored->folderName, work.folderName);
    EXPECT_EQ(stored->createdAt, work.createdAt);
}

TEST_F(AccountsViewTest, removalAsksFirstAndCancelKeepsTheAccount) {
    const Profile work = addAccount("Work");
    QDir().mkpath(store->accountsURL() + "/" + work.folderName + "/Desktop");
    view().startRemoving(work);
    QMessageBox* alert = view().removalAlert();
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->text(), "Remove “Work”?");
    EXPECT_TRUE(alert->informativeText().startsWith("This signs that account out on this computer"));
    alert->button(QMessageBox::Cancel)->click();
    settle();
    EXPECT_TRUE(store->profile(work.id));

    view().startRemoving(work);
    alert = view().removalAlert();
    ASSERT_TRUE(alert);
    QTest::mouseClick(button(alert, "Remove"), Qt::LeftButton);
    settle();
    EXPECT_FALSE(store->profile(work.id));
    // Its data went with it (to the Trash).
    EXPECT_FALSE(QDir(store->accountsURL() + "/" + work.folderName).exists());
}

TEST_F(AccountsViewTest, anAccountThatStartedWhileTheAlertWasUpIsNotRemoved) {
    const Profile work = addAccount("Work");
    view().startRemoving(work);
    start(work);
    settle();
    ASSERT_TRUE(view().removalAlert());
    button(view().removalAlert(), "Remove")->click();
    settle();
    EXPECT_TRUE(store->profile(work.id));
}

TEST_F(AccountsViewTest, theDefaultAccountsMenuHasOnlyTheFirstItems) {
    EXPECT_EQ(texts(view().contextMenuEntries(defaultAccount())),
              QStringList({"Open My Claude", "—", "Edit…", "Open at Login"}));
    auto app = start(defaultAccount());
    settle();
    EXPECT_EQ(texts(view().contextMenuEntries(defaultAccount())),
              QStringList({"Switch to My Claude", "Quit My Claude", "—", "Edit…", "Open at Login"}));
    find(view().contextMenuEntries(defaultAccount()), "Quit")->run();
    EXPECT_EQ(fake.processes.terminated, QList<pid_t>{app->processIdentifier()});
}

TEST_F(AccountsViewTest, anAccountsMenuFollowsItsState) {
    const Profile work = addAccount("Work");
    auto entries = view().contextMenuEntries(work);
    EXPECT_EQ(texts(entries),
              QStringList({"Open Work", "—", "Edit…", "Open at Login", "Add “Claude Work” to Favorites",
                           "Copy Claude Code Terminal Command", "Copy MCP Servers from My Claude…",
                           "Show Data in Files", "—", "Remove…"}));
    EXPECT_TRUE(find(entries, "Remove")->enabled);
    EXPECT_TRUE(find(entries, "Remove")->destructive);
    // A setting shown ticked or not, kept in the list.
    EXPECT_EQ(find(entries, "Open at Login")->checked, false);
    find(entries, "Open at Login")->run();
    EXPECT_TRUE(store->profile(work.id)->openAtLogin);
    EXPECT_EQ(find(view().contextMenuEntries(work), "Open at Login")->checked, true);

    find(entries, "Copy Claude")->run();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), work.terminalCommand(store->accountsURL()));
    find(entries, "Show Data")->run();
    ASSERT_EQ(fake.desktopFiles.shownPaths.size(), 1);
    EXPECT_EQ(fake.desktopFiles.shownPaths[0], store->accountsURL() + "/" + work.folderName + "/");
    // Plasma's task manager in its own words; no item where the desktop keeps no list.
    AccountsView plasma(store.get(), &controller(), fake.services(),
                        {platform::PinnedApps::Kind::TaskManager, {}});
    EXPECT_EQ(texts(plasma.contextMenuEntries(work)).at(4), "Pin “Claude Work” to Task Manager");
    AccountsView none(store.get(), &controller(), fake.services(), {platform::PinnedApps::Kind::None, {}});
    EXPECT_EQ(texts(none.contextMenuEntries(work)).at(4), "Copy Claude Code Terminal Command");

    start(work);
    settle();
    entries = view().contextMenuEntries(work);
    EXPECT_EQ(entries[0].text, "Switch to Work");
    EXPECT_EQ(entries[1].text, "Quit Work");
    EXPECT_FALSE(find(entries, "Remove")->enabled);

    // The built menu matches, with the item disabled.
    std::unique_ptr<QMenu> menu(view().contextMenu(work));
    const auto actions = menu->actions();
    ASSERT_EQ(actions.size(), entries.size());
    EXPECT_FALSE(actions.last()->isEnabled());
}

TEST_F(AccountsViewTest, menuTextsOfOddNamesStayOneLineAndShowAmpersands) {
    Profile odd = addAccount("R&D\nLab: west/2");
    std::unique_ptr<QMenu> menu(view().contextMenu(*store->profile(odd.id)));
    const QString first = menu->actions().first()->text();
    EXPECT_FALSE(first.contains(u'\n'));
    EXPECT_TRUE(first.contains("R&&D"));
}

TEST_F(AccountsViewTest, cardsShowStateShortcutsTooltipsAndAccessibleNames) {
    QList<Profile> added;
    for (int i = 0; i < 10; ++i) added.append(addAccount(QString("Account %1").arg(i)));
    start(added[0]);
    holdPrepare = true;
    controller().open(added[1]);
    settle();
    const auto cards = view().cards();
    ASSERT_EQ(cards.size(), 11);
    EXPECT_EQ(cards[0]->shortcutText(), "Ctrl+1");
    EXPECT_EQ(cards[8]->shortcutText(), "Ctrl+9");
    EXPECT_EQ(cards[9]->shortcutText(), "");
    EXPECT_EQ(cards[0]->subtitle(), "Your original Claude sign-in");
    EXPECT_EQ(cards[1]->subtitle(), "Separate sign-in");
    EXPECT_EQ(cards[1]->toolTip(), "Switch to Account 0");
    EXPECT_EQ(cards[1]->accessibleName(), "Account 0, open");
    EXPECT_EQ(cards[1]->statusText(), "Open");
    EXPECT_EQ(cards[2]->statusText(), "Opening…");
    EXPECT_EQ(cards[3]->toolTip(), "Open Account 2");
    EXPECT_EQ(cards[3]->accessibleName(), "Account 2, not open");
    EXPECT_EQ(cards[3]->statusText(), "Not open");

    // Opening wins even when the account also runs.
    EXPECT_EQ(status_line::text(true, true, true), "Opening…");
    EXPECT_EQ(status_line::text(true, false, true), "Click to switch");
    EXPECT_EQ(status_line::text(false, false, true), "Click to open");

    // A click on a card opens its account.
    holdPrepare = true;
    QTest::mouseClick(cards[4], Qt::LeftButton, {}, cards[4]->cardRect().center().toPoint());
    EXPECT_TRUE(controller().opening().contains(added[3].id));
    // The shadow margin is not part of the card.
    EXPECT_FALSE(cards[5]->hitButton(QPoint(2, 2)));
}

TEST_F(AccountsViewTest, longAndStrangeNamesStayOnOneLine) {
    addAccount(QString(120, u'W'));
    addAccount("😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀");
    addAccount("حساب العمل الطويل جدا جدا جدا جدا جدا جدا");
    addAccount("a/b:c\nd");
    for (ProfileCard* card : view().cards()) EXPECT_FALSE(card->displayedName().contains(u'\n'));
    EXPECT_TRUE(view().cards()[1]->displayedName().endsWith(u'…'));
    EXPECT_EQ(view().cards()[4]->displayedName(), "a/b:c d");
}

TEST_F(AccountsViewTest, bannersFollowTheControllerAndDismissClearsTheError) {
    view();
    EXPECT_FALSE(view().errorBanner()->isVisibleTo(&view()));
    EXPECT_FALSE(view().missingBanner()->isVisibleTo(&view()));

    controller().setLastError(QStringLiteral("Couldn't open Work."));
    EXPECT_TRUE(view().errorBanner()->isVisibleTo(&view()));
    EXPECT_EQ(view().errorBanner()->message(), "Couldn't open Work.");
    QTest::mouseClick(view().errorBanner()->dismissButton(), Qt::LeftButton);
    EXPECT_FALSE(controller().lastError());
    EXPECT_FALSE(view().errorBanner()->isVisibleTo(&view()));
    controller().setLastError(QStringLiteral("Another one."));
    EXPECT_TRUE(view().errorBanner()->isVisibleTo(&view()));

    fake.installations.registered.clear();
    QDir(claudePath).removeRecursively();
    controller().locateClaude();
    ASSERT_FALSE(controller().claudeURL());
    EXPECT_TRUE(view().missingBanner()->isVisibleTo(&view()));
    view().missingBanner()->downloadButton()->click();
    EXPECT_EQ(fake.desktopFiles.openedUrls, QList<QUrl>{claude::ClaudeController::downloadURL()});

    QDir().mkpath(claudePath + "/Contents/MacOS");
    fake.installations.registered = {claudePath};
    controller().locateClaude();
    EXPECT_FALSE(view().missingBanner()->isVisibleTo(&view()));
}

TEST_F(AccountsViewTest, theGridAddsColumnsAsTheWindowWidens) {
    for (int i = 0; i < 3; ++i) addAccount(QString("Account %1").arg(i));
    view();
    for (auto [width, columns] :
         {std::pair{520, 2}, std::pair{560, 2}, std::pair{800, 3}, std::pair{1040, 4}}) {
        view().resize(width, 520);
        settle(10);
        EXPECT_EQ(view().grid()->columns(), CardGrid::columnsFor(view().grid()->width())) << width;
        EXPECT_EQ(view().grid()->columns(), columns) << width;
    }
    // Enough accounts to scroll: the scroll bar lies over the padding and takes no columns away.
    for (int i = 3; i < 12; ++i) addAccount(QString("Account %1").arg(i));
    for (int width : {520, 521, 522, 523, 560}) {
        view().resize(width, 440);
        settle(10);
        EXPECT_EQ(view().grid()->width(), width) << width;
        EXPECT_EQ(view().grid()->columns(), 2) << width;
        auto* bar = view().findChild<OverlayScrollBar*>();
        ASSERT_TRUE(bar);
        EXPECT_TRUE(bar->isVisibleTo(&view()));
        // The cards keep clear of it.
        const QRect lastCard = view().grid()->cardRect(1);
        EXPECT_LT(view().grid()->mapTo(&view(), lastCard.topRight()).x(), bar->mapTo(&view(), QPoint()).x())
            << width;
    }
}

TEST_F(AccountsViewTest, settingsErrorsLandInTheErrorBanner) {
    fake.loginItems.failure = "No autostart folder.";
    view().toggleSettings();
    ASSERT_TRUE(view().settingsPopover());
    QList<QCheckBox*> boxes = view().settingsPopover()->findChildren<QCheckBox*>();
    ASSERT_EQ(boxes.size(), 4);
    boxes.last()->click();
    EXPECT_EQ(controller().lastError(), QString("Couldn't change “Open at login”: No autostart folder."));
    EXPECT_FALSE(view().launchAtLogin());
    view().toggleSettings();
    EXPECT_FALSE(view().settingsPopover()->isVisible());
    view().toggleHelp();
    EXPECT_TRUE(view().helpPopover()->isVisible());
}

TEST_F(AccountsViewTest, newAndExistingAccountsGetMyClaudesSettingsOnRequest) {
    const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", home.file("config").toUtf8());
    const QString mine = home.file("config/Claude/claude_desktop_config.json");
    const QByteArray servers = R"({"mcpServers": {"files": {"command": "npx"}}})";
    writeFile(mine, servers);
    auto desktopFile = [this](const QString& name) {
        const auto p = std::find_if(store->profiles().begin(), store->profiles().end(),
                                    [&](const Profile& q) { return q.name == name; });
        return store->accountsURL() + "/" + p->folderName + "/Desktop/claude_desktop_config.json";
    };

    // Valid: offered and ticked; the file is there before the launch request.
    view().startAdding();
    ASSERT_TRUE(view().editor()->configBox() && view().editor()->configBox()->isChecked());
    QTest::keyClicks(view().editor()->nameField(), "Work");
    view().editor()->saveButton()->click();
    ASSERT_TRUE(waitUntil([&] { return !fake.processes.openRequests.isEmpty(); }));
    EXPECT_EQ(readFile(desktopFile("Work")), servers);
    settle();

    // Invalid: offered unticked; ticked anyway, the account is made and the banner says why.
    writeFile(mine, "{oops");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_FALSE(view().editor());
    view().startAdding();
    ASSERT_TRUE(view().editor());
    EXPECT_FALSE(view().editor()->configBox()->isChecked());
    view().editor()->configBox()->setChecked(true);
    QTest::keyClicks(view().editor()->nameField(), "Home");
    view().editor()->saveButton()->click();
    ASSERT_EQ(store->profiles().size(), 3);
    EXPECT_TRUE(controller().lastError().value_or("").contains("isn't valid JSON"));
    EXPECT_FALSE(QFileInfo::exists(desktopFile("Home")));

    // The card's menu: asks with what changes, then writes and keeps the old file.
    writeFile(mine, R"({"mcpServers": {"files": {"command": "npx"}, "web": {"command": "w"}}})");
    const Profile work = *std::find_if(store->profiles().begin(), store->profiles().end(),
                                       [](const Profile& p) { return p.name == "Work"; });
    find(view().contextMenuEntries(work), "Copy MCP")->run();
    ASSERT_TRUE(view().mcpPrompt());
    EXPECT_TRUE(view().mcpPrompt()->informativeText().startsWith("Adds: web"));
    EXPECT_EQ(readFile(desktopFile("Work")), servers);
    button(view().mcpPrompt(), "Copy")->click();
    settle();
    EXPECT_TRUE(readFile(desktopFile("Work")).contains("\"web\""));
    EXPECT_EQ(readFile(desktopFile("Work") + ".bak"), servers);
    qputenv("XDG_CONFIG_HOME", oldConfig);
}

TEST_F(AccountsViewTest, aPaletteGivenLaterRecoloursEveryText) {
    view();
    QLabel* tip = nullptr;
    for (QLabel* label : view().findChildren<QLabel*>())
        if (label->text().startsWith("Tip:")) tip = label;
    ASSERT_TRUE(tip);
    EXPECT_LT(tip->palette().color(QPalette::WindowText).lightness(), 128);
    view().setPalette(theme::darkPalette());
    EXPECT_GT(tip->palette().color(QPalette::WindowText).lightness(), 128);
    view().setPalette(theme::lightPalette());
    EXPECT_LT(tip->palette().color(QPalette::WindowText).lightness(), 128);
}

TEST_F(AccountsViewTest, openAccountsShowTheirMemoryReadOnlyWhileTheWindowIsInUse) {
    const Profile work = addAccount("Work");
    const auto app = start(work);
    settle();
    fake.processes.memoryBytes[app->processIdentifier()] = 412ull * 1000 * 1000;
    view().hide();
    EXPECT_FALSE(view().memory()->isActive());
    view().show();
    view().activateWindow();
    ASSERT_TRUE(waitUntil([&] { return view().memory()->isActive(); }));
    ProfileCard* card = view().cards().at(1);
    ASSERT_TRUE(waitUntil([&] {
        return card->statusText().contains(QLocale().formattedDataSize(412000000, 0));
    })) << card->statusText().toStdString();
    view().hide();
    EXPECT_FALSE(view().memory()->isActive());
}

}  // namespace
}  // namespace varrow::ui::test
