#pragma once

#include <QWidget>

namespace varrow::model {
class ProfileStore;
}
namespace varrow::claude {
class ClaudeController;
}

namespace varrow::switcher {

class EdgeTab;
class FloatingBar;
class SwitcherModel;

// The switcher panel's content: the floating bar in the floating style, else the edge tab.
// Always exactly its natural size, which is its sizeHint.
class SwitcherView : public QWidget {
    Q_OBJECT
public:
    SwitcherView(SwitcherModel* model, model::ProfileStore* store, claude::ClaudeController* claude,
                 QWidget* parent = nullptr);

    SwitcherModel* model() const { return model_; }
    EdgeTab* edgeTab() const { return edgeTab_; }
    FloatingBar* floatingBar() const { return floatingBar_; }
    // The child on show.
    QWidget* content() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

signals:
    // The natural size may have changed.
    void contentChanged();

private:
    void sync();

    SwitcherModel* model_;
    claude::ClaudeController* claude_;
    EdgeTab* edgeTab_;
    FloatingBar* floatingBar_;
};

}  // namespace varrow::switcher
