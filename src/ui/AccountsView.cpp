#include "ui/AccountsView.h"

#include "claude/ClaudeController.h"
#include "copies/DesktopConfig.h"
#include "model/ProfileStore.h"
#include "platform/DesktopFiles.h"
#include "platform/GlobalHotKeys.h"
#include "platform/LoginItems.h"
#include "ui/AddAccountCard.h"
#include "ui/AppEvents.h"
#include "ui/AppGlyph.h"
#include "ui/Banners.h"
#include "ui/Buttons.h"
#include "ui/CardGrid.h"
#include "ui/DisplayText.h"
#include "ui/HelpView.h"
#include "ui/McpCopyPrompt.h"
#include "ui/MemoryFigures.h"
#include "ui/OverlayScrollBar.h"
#include "ui/Popover.h"
#include "ui/ProfileCard.h"
#include "ui/ProfileEditor.h"
#include "ui/SettingsView.h"
#include "ui/Symbols.h"
#include "ui/Theme.h"

#include <QClipboard>
#include <QEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace varrow::ui {

namespace {

QLabel* toned(const QString& text, const QFont& font, theme::Tone tone) {
    auto* label = new QLabel(text);
    label->setFont(font);
    theme::setTone(label, tone);
    return label;
}

// A banner inside its outer padding.
QWidget* padded(QWidget* inner, int left, int top, int right) {
    auto* box = new QWidget;
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(left, top, right, 0);
    layout->addWidget(inner);
    return box;
}

}  // namespace

AccountsView::AccountsView(model::ProfileStore* store, claude::ClaudeController* claude,
                           const platform::ServiceRefs& services, DesktopWords words, QWidget* parent)
    : QWidget(parent),
      store_(store),
      claude_(claude),
      services_(services),
      words_(std::move(words)),
      launchAtLogin_(services.loginItems.isEnabled()),
      memory_(new MemoryFigures(claude, services.processes, this)) {
    connect(memory_, &MemoryFigures::changed, this, &AccountsView::showMemory);
    setMinimumSize(520, 440);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Window);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(buildHeader());

    missingBanner_ = new ClaudeMissingBanner;
    missingBox_ = padded(missingBanner_, 20, 12, 20);
    layout->addWidget(missingBox_);
    connect(missingBanner_, &ClaudeMissingBanner::downloadRequested, this,
            [this] { services_.desktopFiles.openUrl(claude::ClaudeController::downloadURL()); });

    errorBanner_ = new ErrorBanner;
    errorBox_ = padded(errorBanner_, 20, 10, 20);
    layout->addWidget(errorBox_);
    connect(errorBanner_, &ErrorBanner::dismissed, this, [this] { claude_->setLastError(std::nullopt); });

    auto* scroll = new QScrollArea;
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->viewport()->setAutoFillBackground(false);
    // A slim scroller in the text colour over the grid's right padding, so the columns never
    // depend on whether it shows.
    theme::restyle(new OverlayScrollBar(scroll), [](QWidget* bar, const QPalette& pal) {
        const QColor handle = theme::primary(pal, 0.28);
        bar->setStyleSheet(
            QStringLiteral(
                "QScrollBar:vertical { background: transparent; width: 10px; margin: 2px 2px 2px 0; }"
                "QScrollBar::handle:vertical { background: rgba(%1,%2,%3,%4); border-radius: 3px;"
                " min-height: 30px; margin: 0 1px; }"
                "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }"
                "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: none; }")
                .arg(handle.red())
                .arg(handle.green())
                .arg(handle.blue())
                .arg(handle.alphaF()));
    });
    grid_ = new CardGrid;
    scroll->setWidget(grid_);
    layout->addWidget(scroll, 1);

    auto* divider = new QFrame;
    divider->setFixedHeight(1);
    divider->setAutoFillBackground(true);
    theme::restyle(divider, [](QWidget* w, const QPalette& pal) {
        QPalette own = w->palette();
        own.setColor(QPalette::Window, theme::primary(pal, 0.1));
        w->setPalette(own);
    });
    layout->addWidget(divider);
    layout->addWidget(buildFooter());

    addCard_ = new AddAccountCard;
    connect(addCard_, &QAbstractButton::clicked, this, &AccountsView::startAdding);

    connect(store_, &model::ProfileStore::profilesChanged, this, &AccountsView::syncCards);
    connect(claude_, &claude::ClaudeController::stateChanged, this, &AccountsView::syncState);
    connect(&AppEvents::instance(), &AppEvents::newAccountRequested, this, &AccountsView::startAdding);
    syncCards();
    syncState();
}

AccountsView::~AccountsView() {
    // Popovers are top-level windows; they go with the view.
    delete settings_;
    delete help_;
}

QWidget* AccountsView::buildHeader() {
    auto* header = new QWidget;
    auto* row = new QHBoxLayout(header);
    row->setContentsMargins(20, 18, 20, 6);
    row->setSpacing(14);
    auto* glyph = new AppGlyph;
    glyph->setFixedSize(44, 44);
    row->addWidget(glyph, 0, Qt::AlignVCenter);

    auto* titles = new QVBoxLayout;
    titles->setSpacing(2);
    titles->addWidget(
        toned(QStringLiteral("Varrow"), theme::font(20, QFont::DemiBold), theme::Tone::Primary));
    auto* subtitle = toned(tr("Click an account to open it. Each one keeps its own sign-in and chats."),
                           theme::callout(), theme::Tone::Secondary);
    subtitle->setWordWrap(true);
    titles->addWidget(subtitle);
    row->addLayout(titles, 1);

    addButton_ = new QPushButton(tr("Add Account"));
    addButton_->setToolTip(
        tr("Add another Claude account (%1)").arg(DesktopWords::ctrl(QStringLiteral("N"))));
    buttons::makeBordered(addButton_);
    theme::restyle(addButton_, [](QWidget* w, const QPalette& pal) {
        static_cast<QPushButton*>(w)->setIcon(
            symbols::pixmap(QStringLiteral("plus"), 14, theme::primary(pal)));
    });
    buttons::makeLarge(addButton_);
    row->addWidget(addButton_, 0, Qt::AlignVCenter);
    connect(addButton_, &QPushButton::clicked, this, &AccountsView::startAdding);
    return header;
}

QWidget* AccountsView::buildFooter() {
    auto* footer = new QWidget;
    auto* row = new QHBoxLayout(footer);
    row->setContentsMargins(20, 10, 20, 10);
    row->setSpacing(14);
    settingsButton_ = buttons::borderless(tr("Settings"), QStringLiteral("gearshape"), footer);
    settingsButton_->setAccessibleName(tr("Settings"));
    row->addWidget(settingsButton_);
    row->addStretch();
    const auto tip = [this] {
        return tr("Tip: %1 switches accounts while you're in Claude").arg(words_.cycleKey());
    };
    QLabel* tipLabel = toned(tip(), theme::caption(), theme::Tone::Tertiary);
    row->addWidget(tipLabel);
    // A layout switch can change what the key prints.
    connect(&services_.hotKeys, &platform::GlobalHotKeys::keyboardChanged, tipLabel,
            [tipLabel, tip] { tipLabel->setText(tip()); });
    helpButton_ = buttons::borderless(QString(), QStringLiteral("questionmark.circle"), footer);
    helpButton_->setAccessibleName(tr("Help"));
    helpButton_->setToolTip(HelpView::title());
    row->addWidget(helpButton_);
    connect(settingsButton_, &QToolButton::clicked, this, &AccountsView::toggleSettings);
    connect(helpButton_, &QToolButton::clicked, this, &AccountsView::toggleHelp);
    return footer;
}

QList<ProfileCard*> AccountsView::cards() const {
    QList<ProfileCard*> out;
    for (const model::Profile& p : store_->profiles())
        if (auto* card = cards_.value(p.id)) out.append(card);
    return out;
}

void AccountsView::syncCards() {
    QHash<QUuid, ProfileCard*> kept;
    QList<QWidget*> cells;
    const auto& profiles = store_->profiles();
    for (qsizetype i = 0; i < profiles.size(); ++i) {
        const model::Profile& profile = profiles[i];
        const std::optional<int> shortcut = i <= 8 ? std::optional<int>(int(i) + 1) : std::nullopt;
        ProfileCard* card = cards_.take(profile.id);
        if (card) {
            card->setProfile(profile, shortcut);
        } else {
            card = new ProfileCard(claude_, services_.windowServer, profile, shortcut);
            card->setContextMenuPolicy(Qt::CustomContextMenu);
            connect(card, &QWidget::customContextMenuRequested, this, [this, card](const QPoint& pos) {
                if (!card->hitButton(pos)) return;
                QMenu* menu = contextMenu(card->profile(), this);
                menu->setAttribute(Qt::WA_DeleteOnClose);
                menu->popup(card->mapToGlobal(pos));
            });
        }
        const QUuid id = profile.id;
        card->setAction([this, id] {
            if (auto current = store_->profile(id)) claude_->open(*current);
        });
        kept.insert(profile.id, card);
        cells.append(card);
    }
    // Cards of removed accounts may be mid-click; let them go later.
    for (ProfileCard* gone : std::as_const(cards_)) {
        gone->hide();
        gone->deleteLater();
    }
    cards_ = kept;
    cells.append(addCard_);
    grid_->setCells(cells, ProfileCard::kShadowMargin);
}

void AccountsView::syncState() {
    missingBox_->setVisible(!claude_->claudeURL().has_value());
    const auto error = claude_->lastError();
    errorBox_->setVisible(error.has_value());
    if (error) errorBanner_->setMessage(*error);
    for (ProfileCard* card : std::as_const(cards_)) card->refresh();
    showMemory();
}

void AccountsView::showMemory() {
    for (ProfileCard* card : std::as_const(cards_)) card->setMemory(memory_->bytes(card->profile().id));
}

void AccountsView::followMemory() {
    // Kept fresh while the window is in use; one left open behind others wakes nothing up.
    memory_->setActive(isVisible() && isActiveWindow());
}

void AccountsView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    followMemory();
}

void AccountsView::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    followMemory();
}

QList<CardMenuItem> AccountsView::contextMenuEntries(const model::Profile& profile) {
    const QString name = singleLine(profile.name);
    const bool running = claude_->running().contains(profile.id);
    const QUuid id = profile.id;
    QList<CardMenuItem> entries;
    entries.append({false,
                    ProfileCard::actionTitle(running, name),
                    true,
                    false,
                    [this, id] {
                        if (auto p = store_->profile(id)) claude_->open(*p);
                    },
                    {}});
    if (running) {
        entries.append({false,
                        tr("Quit %1").arg(name),
                        true,
                        false,
                        [this, id] {
                            const auto app = claude_->running().value(id);
                            if (app) app->terminate();
                        },
                        {}});
    }
    entries.append({true, {}, true, false, {}, {}});
    entries.append({false,
                    tr("Edit…"),
                    true,
                    false,
                    [this, id] {
                        if (auto p = store_->profile(id)) startEditing(*p);
                    },
                    {}});
    entries.append({false, tr("Open at Login"), true, false,
                    [this, id] {
                        auto p = store_->profile(id);
                        if (!p) return;
                        p->openAtLogin = !p->openAtLogin;
                        store_->update(*p);
                    },
                    store_->profile(id).value_or(profile).openAtLogin});
    if (profile.isDefault) return entries;

    // Left out where the desktop keeps no list Varrow knows, and once the copy is pinned.
    const auto keepTitle = words_.keepTitle(tr("Claude %1", "an account's copy of Claude").arg(name));
    if (keepTitle && !claude_->isPinned(profile)) {
        entries.append({false,
                        *keepTitle,
                        true,
                        false,
                        [this, id] {
                            if (auto p = store_->profile(id)) claude_->keepInDock(*p);
                        },
                        {}});
    }
    entries.append({false,
                    tr("Copy Claude Code Terminal Command"),
                    true,
                    false,
                    [this, id] {
                        const auto p = store_->profile(id);
                        if (!p) return;
                        QClipboard* clipboard = QGuiApplication::clipboard();
                        clipboard->clear();
                        clipboard->setText(p->terminalCommand(store_->accountsURL()));
                    },
                    {}});
    entries.append({false,
                    tr("Copy MCP Servers from My Claude…"),
                    true,
                    false,
                    [this, id] {
                        const auto p = store_->profile(id);
                        if (!p || mcpPrompt_) return;
                        mcpPrompt_ = McpCopyPrompt::open(
                            this, store_->accountsURL(), *p, copies::DesktopConfig::myClaudeFile(),
                            [this](const QString& sentence) { claude_->setLastError(sentence); });
                    },
                    {}});
    entries.append({false,
                    tr("Show Data in Files"),
                    true,
                    false,
                    [this, id] {
                        const auto p = store_->profile(id);
                        // Only the account's own folder, never a path a hand-edited list points at.
                        const auto folder = p ? p->dataFolder(store_->accountsURL()) : std::nullopt;
                        if (folder) services_.desktopFiles.showInFileManager(*folder + u'/');
                    },
                    {}});
    entries.append({true, {}, true, false, {}, {}});
    entries.append({false,
                    tr("Remove…"),
                    !running,
                    true,
                    [this, id] {
                        if (auto p = store_->profile(id)) startRemoving(*p);
                    },
                    {}});
    return entries;
}

QMenu* AccountsView::contextMenu(const model::Profile& profile, QWidget* parent) {
    auto* menu = new QMenu(parent);
    const QFontMetrics fm(menu->font());
    for (const CardMenuItem& entry : contextMenuEntries(profile)) {
        if (entry.separator) {
            menu->addSeparator();
            continue;
        }
        // One line, not too wide, and "&" in a name shown as itself rather than as a mnemonic.
        QString text = fm.elidedText(entry.text, Qt::ElideMiddle, 360);
        text.replace(u'&', QStringLiteral("&&"));
        QAction* action = menu->addAction(text);
        action->setEnabled(entry.enabled);
        if (entry.destructive) action->setProperty("destructive", true);
        if (entry.checked) {
            action->setCheckable(true);
            action->setChecked(*entry.checked);
        }
        connect(action, &QAction::triggered, this, entry.run);
    }
    return menu;
}

void AccountsView::startAdding() {
    if (editor_) return;
    editor_ = new ProfileEditor(
        std::nullopt,
        [this](const QString& name, const QString& note, model::ProfileColor color) {
            createAccount(name, note, color, editor_ && editor_->startsWithMyClaudeConfig());
        },
        this);
    editor_->setAttribute(Qt::WA_DeleteOnClose);
    // Offered whenever My Claude has the file; ticked only when it can be copied as it is.
    const auto mine = copies::DesktopConfig::read(copies::DesktopConfig::myClaudeFile());
    if (mine.exists) editor_->offerMyClaudeConfig(mine.object.has_value());
    editor_->open();
}

void AccountsView::createAccount(const QString& name, const QString& note, model::ProfileColor color,
                                 bool withMyConfig) {
    model::Profile profile;
    profile.id = QUuid::createUuid();
    profile.name = store_->uniqueName(name);
    profile.note = note;
    profile.color = color;
    profile.isDefault = false;
    profile.folderName = model::ProfileStore::folderName(profile.name);
    profile.createdAt = QDateTime::currentDateTimeUtc();
    QList<model::Profile> list = store_->profiles();
    list.append(profile);
    store_->setProfiles(list);
    store_->save();
    // Before the first launch, so Claude starts with it; a failure leaves the account as created.
    const QString seeding = withMyConfig ? copies::DesktopConfig::seed(copies::DesktopConfig::myClaudeFile(),
                                                                       store_->accountsURL(), profile)
                                         : QString();
    claude_->open(profile);
    if (!seeding.isEmpty()) claude_->setLastError(seeding);
}

void AccountsView::startEditing(const model::Profile& profile) {
    if (editor_) return;
    const QUuid id = profile.id;
    editor_ = new ProfileEditor(
        profile,
        [this, id](const QString& name, const QString& note, model::ProfileColor color) {
            auto current = store_->profile(id);
            if (!current) return;  // removed meanwhile
            current->name = name;
            current->note = note;
            current->color = color;
            store_->update(*current);
        },
        this);
    editor_->setAttribute(Qt::WA_DeleteOnClose);
    editor_->open();
}

void AccountsView::startRemoving(const model::Profile& profile) {
    if (alert_ || profile.isDefault) return;
    auto* box = new QMessageBox(this);
    box->setIcon(QMessageBox::Warning);
    box->setWindowTitle(QStringLiteral("Varrow"));
    box->setText(tr("Remove “%1”?").arg(singleLine(profile.name)));
    box->setInformativeText(
        tr("This signs that account out on this computer and moves its local data to the Trash. "
           "Your chats are saved in your Claude account online, so you can sign in again any "
           "time."));
    QPushButton* remove = box->addButton(tr("Remove"), QMessageBox::DestructiveRole);
    box->addButton(QMessageBox::Cancel);
    box->setDefaultButton(QMessageBox::Cancel);
    box->setAttribute(Qt::WA_DeleteOnClose);
    const QUuid id = profile.id;
    connect(box, &QMessageBox::finished, this, [this, box, remove, id] {
        if (box->clickedButton() != remove) return;
        const auto current = store_->profile(id);
        // It may have been opened while the alert was up; its data is in use then.
        if (!current || claude_->running().contains(id)) return;
        store_->remove(*current, true);
    });
    alert_ = box;
    box->open();
}

void AccountsView::toggleSettings() {
    if (settings_ && settings_->isVisible()) return settings_->hide();
    if (settings_ && settings_->justClosed()) return;
    delete settings_;
    auto* view = new SettingsView(
        services_.windowServer, services_.loginItems, services_.desktopShortcuts, launchAtLogin_,
        [this](const QString& message) { claude_->setLastError(message); }, words_);
    connect(view, &SettingsView::launchAtLoginChanged, this, [this](bool on) { launchAtLogin_ = on; });
    settings_ = new Popover(view, this);
    settings_->showFor(settingsButton_);
}

void AccountsView::toggleHelp() {
    if (help_ && help_->isVisible()) return help_->hide();
    if (help_ && help_->justClosed()) return;
    delete help_;
    help_ = new Popover(new HelpView(words_), this);
    help_->showFor(helpButton_);
}

void AccountsView::changeEvent(QEvent* event) {
    // Colours made from the palette follow a new one (light to dark and back).
    if (event->type() == QEvent::PaletteChange) theme::applyTones(this);
    if (event->type() == QEvent::ActivationChange) followMemory();
    QWidget::changeEvent(event);
}

}  // namespace varrow::ui
