#include "app/TrayMenu.h"

#include "app/DesktopPlatform.h"

#include "claude/ClaudeController.h"
#include "front/FrontSwitcher.h"
#include "model/Defaults.h"
#include "model/ProfileStore.h"
#include "platform/Platform.h"
#include "ui/AppEvents.h"
#include "ui/DisplayText.h"

#include <QActionGroup>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QMenu>

namespace varrow::app {

using Action = MenuEntry::Action;
using Kind = MenuEntry::Kind;
using model::Defaults;

namespace {

// One line, "&" shown as itself rather than taken as a mnemonic.
QString menuText(const QString& title) {
    QString text = ui::singleLine(title);
    text.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return text;
}

// Drawn once per colour and size: the menu is redrawn whenever an account opens or closes. Kept
// as images, which may outlive the application object, unlike pixmaps.
QIcon dotIcon(model::ProfileColor color) {
    static QHash<std::pair<int, int>, QImage> drawn;
    QIcon icon;
    for (int ratio : {1, 2}) {
        QImage& dot = drawn[{int(color), ratio}];
        if (dot.isNull()) dot = model::colors::menuDot(color, ratio);
        icon.addPixmap(QPixmap::fromImage(dot));
    }
    return icon;
}

}  // namespace

TrayMenu::TrayMenu(model::ProfileStore* store, claude::ClaudeController* claude,
                   std::function<void()> showWindow, QObject* parent)
    : QObject(parent), store_(store), claude_(claude), showWindow_(std::move(showWindow)) {
    connect(store_, &model::ProfileStore::profilesChanged, this, &TrayMenu::rebuild);
    connect(claude_, &claude::ClaudeController::stateChanged, this, &TrayMenu::rebuild);
    connect(&Defaults::shared(), &Defaults::changed, this, &TrayMenu::rebuild);
    // The cycle key's entry names the key as the current layout prints it.
    if (platform::Platform::isInstalled())
        connect(&platform::Platform::hotKeys(), &platform::GlobalHotKeys::keyboardChanged, this,
                &TrayMenu::rebuild);
}

void TrayMenu::attach(QMenu* menu, bool bindShortcuts) {
    menus_.append({menu, bindShortcuts});
    fill(menu, entries(), bindShortcuts);
}

QList<MenuEntry> TrayMenu::entries() const {
    return MenuModel::entries(*store_, *claude_, Defaults::shared(), desktopWords().cycleKey());
}

void TrayMenu::rebuild() {
    const QList<MenuEntry> current = entries();
    menus_.removeIf([](const auto& slot) { return slot.first.isNull(); });
    for (const auto& [menu, bind] : std::as_const(menus_)) fill(menu, current, bind);
}

void TrayMenu::fill(QMenu* menu, const QList<MenuEntry>& entries, bool bindShortcuts) {
    // clear() deletes the actions the menu owns, not the submenus addMenu() made as its children
    // (with their actions and groups): each redraw would leave one behind. Later, since the redraw
    // may come from a submenu's own action.
    for (QMenu* sub : menu->findChildren<QMenu*>(Qt::FindDirectChildrenOnly)) {
        sub->setParent(nullptr);
        sub->deleteLater();
    }
    menu->clear();
    for (const MenuEntry& entry : entries) {
        switch (entry.kind) {
            case Kind::Divider:
                menu->addSeparator();
                break;
            case Kind::Submenu: {
                QMenu* sub = menu->addMenu(menuText(entry.title));
                auto* group = new QActionGroup(sub);
                group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
                for (const MenuEntry& child : entry.children) {
                    QAction* action = sub->addAction(menuText(child.title));
                    action->setCheckable(true);
                    action->setChecked(child.checked);
                    group->addAction(action);
                    connect(action, &QAction::triggered, this, [this, child] { trigger(child); });
                }
                break;
            }
            default: {
                QAction* action = menu->addAction(menuText(entry.title));
                if (entry.dot) action->setIcon(dotIcon(*entry.dot));
                if (entry.kind == Kind::Check) {
                    action->setCheckable(true);
                    action->setChecked(entry.checked);
                }
                if (!entry.shortcut.isEmpty()) {
                    const bool bind = bindShortcuts || entry.action != Action::OpenProfile;
                    if (bind) {
                        action->setShortcut(entry.shortcut);
                    } else {
                        // Shown beside the title, bound by the "Accounts" menu instead.
                        action->setText(action->text() + QLatin1Char('\t') +
                                        entry.shortcut.toString(QKeySequence::NativeText));
                    }
                }
                connect(action, &QAction::triggered, this, [this, entry] { trigger(entry); });
            }
        }
    }
}

void TrayMenu::trigger(const MenuEntry& entry) {
    auto& defaults = Defaults::shared();
    switch (entry.action) {
        case Action::None:
            break;
        case Action::DownloadClaude:
            platform::Platform::desktopFiles().openUrl(claude::ClaudeController::downloadURL());
            break;
        case Action::OpenProfile:
            // The list may have changed since the menu was drawn; open what the id names now.
            if (auto profile = store_->profile(entry.profileId)) claude_->open(*profile);
            break;
        case Action::AddAccount:
            if (showWindow_) showWindow_();
            ui::AppEvents::instance().postNewAccount();
            break;
        case Action::ManageAccounts:
            if (showWindow_) showWindow_();
            break;
        case Action::SetSwitcherStyle:
            defaults.setValue(Defaults::kSwitcherStyle, entry.value);
            break;
        case Action::ToggleCycleHotKey:
            defaults.setValue(Defaults::kCycleHotKeyEnabled, !defaults.cycleHotKeyEnabled());
            break;
        case Action::ShowSwitchLog:
            showSwitchLog();
            break;
        case Action::Quit:
            QCoreApplication::quit();
            break;
    }
}

void TrayMenu::showSwitchLog() {
    if (!QFileInfo::exists(front::FrontSwitcher::logPath()))
        front::FrontSwitcher::log(QStringLiteral("log opened"));
    platform::Platform::desktopFiles().openUrl(front::FrontSwitcher::logURL());
}

}  // namespace varrow::app
