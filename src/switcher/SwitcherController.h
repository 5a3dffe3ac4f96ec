#pragma once

#include "switcher/SwitcherModel.h"

#include <QObject>
#include <QTimer>
#include <memory>

class QScreen;

namespace varrow::model {
class ProfileStore;
}
namespace varrow::claude {
class ClaudeController;
}
namespace varrow::platform {
class WindowServer;
class Processes;
}  // namespace varrow::platform

namespace varrow::switcher {

class SwitcherPanel;
class SwitcherView;

// Owns the always-on-top switcher panel shown while Claude is in front: when it shows, its size
// and place, the edge tab's hover expansion and the floating bar's remembered position.
class SwitcherController : public QObject {
    Q_OBJECT
public:
    using Model = SwitcherModel;

    SwitcherController(model::ProfileStore* store, claude::ClaudeController* claude,
                       platform::Processes& processes, platform::WindowServer& windowServer,
                       QObject* parent = nullptr);
    ~SwitcherController() override;

    SwitcherModel* model() const { return model_; }
    SwitcherPanel* panel() const { return panel_.get(); }
    SwitcherView* view() const { return view_; }

    // A style other than off, Claude in front, and more than one account.
    bool shouldShow() const;
    // Sizes, places and shows the panel, or hides it.
    void layout();
    // The pointer entered (true) or left (false) the panel.
    void hover(bool inside);
    bool collapsePending() const { return collapse_.isActive(); }

private:
    void readStyle();
    void scheduleLayout();
    void panelMoved();
    void watchScreen(QScreen* screen);

    model::ProfileStore* store_;
    claude::ClaudeController* claude_;
    platform::Processes& processes_;
    SwitcherModel* model_;
    SwitcherView* view_;
    std::unique_ptr<SwitcherPanel> panel_;
    QTimer collapse_;
    bool layoutQueued_ = false;
    bool styleRead_ = false;
};

}  // namespace varrow::switcher
