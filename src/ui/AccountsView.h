#pragma once

#include "model/Profile.h"
#include "platform/ServiceRefs.h"
#include "ui/DisplayText.h"
#include "ui/Popover.h"
#include "ui/ProfileEditor.h"

#include <QHash>
#include <QMessageBox>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <optional>

class QLabel;
class QMenu;
class QPushButton;
class QToolButton;

namespace varrow::model {
class ProfileStore;
}
namespace varrow::claude {
class ClaudeController;
}

namespace varrow::ui {

class AddAccountCard;
class CardGrid;
class ClaudeMissingBanner;
class ErrorBanner;
class MemoryFigures;
class ProfileCard;

// One item of an account card's context menu, as data, so it can be checked without a menu.
struct CardMenuItem {
    bool separator = false;
    QString text;
    bool enabled = true;
    bool destructive = false;
    std::function<void()> run;
    std::optional<bool> checked;  // a setting that is on or off
};

// The accounts window's content: header, banners, the card grid and the footer. It can sit in
// any window; the app shell gives it one.
class AccountsView : public QWidget {
    Q_OBJECT
public:
    // words: how this desktop names its pinned list and the cycle key.
    AccountsView(model::ProfileStore* store, claude::ClaudeController* claude,
                 const platform::ServiceRefs& services, DesktopWords words = {}, QWidget* parent = nullptr);
    ~AccountsView() override;

    QList<CardMenuItem> contextMenuEntries(const model::Profile& profile);
    // A menu built from contextMenuEntries; the caller owns it.
    QMenu* contextMenu(const model::Profile& profile, QWidget* parent = nullptr);

    // The user's actions, callable as the buttons and menus call them.
    void startAdding();
    void startEditing(const model::Profile& profile);
    void startRemoving(const model::Profile& profile);
    void toggleSettings();
    void toggleHelp();

    // What is on show, for tests and the render hooks.
    ProfileEditor* editor() const { return editor_; }
    QMessageBox* removalAlert() const { return alert_; }
    QMessageBox* mcpPrompt() const { return mcpPrompt_; }
    Popover* settingsPopover() const { return settings_; }
    Popover* helpPopover() const { return help_; }
    ErrorBanner* errorBanner() const { return errorBanner_; }
    ClaudeMissingBanner* missingBanner() const { return missingBanner_; }
    CardGrid* grid() const { return grid_; }
    QList<ProfileCard*> cards() const;
    AddAccountCard* addCard() const { return addCard_; }
    QPushButton* addButton() const { return addButton_; }
    QToolButton* settingsButton() const { return settingsButton_; }
    QToolButton* helpButton() const { return helpButton_; }
    bool launchAtLogin() const { return launchAtLogin_; }

    QSize sizeHint() const override { return QSize(560, 520); }

    MemoryFigures* memory() const { return memory_; }

protected:
    void changeEvent(QEvent* event) override;
    // Memory figures are read only while the view is on show in the active window.
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QWidget* buildHeader();
    QWidget* buildFooter();
    void syncCards();
    void syncState();
    void showMemory();
    void followMemory();
    void createAccount(const QString& name, const QString& note, model::ProfileColor color,
                       bool withMyConfig);

    model::ProfileStore* store_;
    claude::ClaudeController* claude_;
    platform::ServiceRefs services_;
    DesktopWords words_;
    bool launchAtLogin_ = false;

    QPushButton* addButton_ = nullptr;
    QWidget* missingBox_ = nullptr;
    ClaudeMissingBanner* missingBanner_ = nullptr;
    QWidget* errorBox_ = nullptr;
    ErrorBanner* errorBanner_ = nullptr;
    CardGrid* grid_ = nullptr;
    QHash<QUuid, ProfileCard*> cards_;
    AddAccountCard* addCard_ = nullptr;
    QToolButton* settingsButton_ = nullptr;
    QToolButton* helpButton_ = nullptr;
    MemoryFigures* memory_ = nullptr;

    QPointer<ProfileEditor> editor_;
    QPointer<QMessageBox> alert_;
    QPointer<QMessageBox> mcpPrompt_;
    QPointer<Popover> settings_;
    QPointer<Popover> help_;
};

}  // namespace varrow::ui
