#include "switcher/SwitcherController.h"

#include "claude/ClaudeController.h"
#include "model/Defaults.h"
#include "model/ProfileStore.h"
#include "platform/Processes.h"
#include "platform/Timings.h"
#include "switcher/SwitcherGeometry.h"
#include "switcher/SwitcherPanel.h"
#include "switcher/SwitcherView.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

namespace varrow::switcher {

SwitcherController::SwitcherController(model::ProfileStore* store, claude::ClaudeController* claude,
                                       platform::Processes& processes, platform::WindowServer& windowServer,
                                       QObject* parent)
    : QObject(parent),
      store_(store),
      claude_(claude),
      processes_(processes),
      model_(new SwitcherModel(SwitcherStyle::Edge, false, this)) {
    view_ = new SwitcherView(model_, store_, claude_);
    panel_ = std::make_unique<SwitcherPanel>(view_, windowServer);
    connect(panel_.get(), &SwitcherPanel::hovered, this, &SwitcherController::hover);
    connect(panel_.get(), &SwitcherPanel::moved, this, &SwitcherController::panelMoved);

    collapse_.setSingleShot(true);
    connect(&collapse_, &QTimer::timeout, this, [this] {
        if (!model_->expanded()) return;
        model_->setExpanded(false);
        layout();
    });

    connect(&model::Defaults::shared(), &model::Defaults::changed, this, [this](const QString& key) {
        if (key == QLatin1String(model::Defaults::kSwitcherStyle)) readStyle();
    });
    // The controller and the store publish after storing; a turn later also lets every view
    // rebuild before the panel takes their size.
    connect(claude_, &claude::ClaudeController::stateChanged, this, &SwitcherController::scheduleLayout);
    connect(store_, &model::ProfileStore::profilesChanged, this, &SwitcherController::scheduleLayout);

    connect(qGuiApp, &QGuiApplication::screenAdded, this, [this](QScreen* screen) {
        watchScreen(screen);
        layout();
    });
    connect(qGuiApp, &QGuiApplication::screenRemoved, this, &SwitcherController::layout);
    connect(qGuiApp, &QGuiApplication::primaryScreenChanged, this, &SwitcherController::layout);
    for (QScreen* screen : QGuiApplication::screens()) watchScreen(screen);

    readStyle();
}

SwitcherController::~SwitcherController() = default;

void SwitcherController::watchScreen(QScreen* screen) {
    connect(screen, &QScreen::geometryChanged, this, &SwitcherController::layout);
    connect(screen, &QScreen::availableGeometryChanged, this, &SwitcherController::layout);
}

void SwitcherController::readStyle() {
    const SwitcherStyle style = styles::fromStored(model::Defaults::shared().switcherStyle());
    if (styleRead_ && style == model_->style()) return;
    styleRead_ = true;
    model_->setStyle(style);
    model_->setExpanded(false);
    layout();
}

bool SwitcherController::shouldShow() const {
    if (model_->style() == SwitcherStyle::Off || store_->profiles().size() < 2) return false;
    if (claude_->claudeIsFront()) return true;
    // A desktop that gives the shown panel the focus puts Varrow in front; hiding it for that
    // would hand the focus back and show it again, over and over.
    const QWindow* window = panel_->windowHandle();
    return panel_->isVisible() && window && window->isActive() && processes_.isSelfInFront();
}

void SwitcherController::scheduleLayout() {
    if (layoutQueued_) return;
    layoutQueued_ = true;
    QTimer::singleShot(0, this, [this] {
        layoutQueued_ = false;
        layout();
    });
}

void SwitcherController::layout() {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!shouldShow() || !screen) {
        panel_->hide();
        collapse_.stop();
        model_->setExpanded(false);
        return;
    }
    const QSize size = view_->sizeHint();
    const QRect visible = screen->availableGeometry();
    QRect frame;
    if (model_->style() == SwitcherStyle::Floating) {
        panel_->setMovableByBackground(true);
        frame = geometry::floatingFrame(visible, screen->geometry(), size,
                                        model::Defaults::shared().switcherFloatingOrigin());
    } else {
        panel_->setMovableByBackground(false);
        frame = geometry::edgeFrame(visible, size);
    }
    view_->setFixedSize(size);
    panel_->setFixedSize(size);
    panel_->move(frame.topLeft());
    if (!panel_->isVisible()) panel_->show();
    panel_->raise();
    panel_->update();
}

void SwitcherController::hover(bool inside) {
    if (model_->style() != SwitcherStyle::Edge) return;
    collapse_.stop();
    if (inside) {
        if (!model_->expanded()) {
            model_->setExpanded(true);
            scheduleLayout();
        }
        return;
    }
    collapse_.start(Timings::edgeCollapse());
}

void SwitcherController::panelMoved() {
    if (model_->style() != SwitcherStyle::Floating || !panel_->isVisible()) return;
    model::Defaults::shared().setSwitcherFloatingOrigin(geometry::storedOrigin(panel_->geometry()));
}

}  // namespace varrow::switcher
