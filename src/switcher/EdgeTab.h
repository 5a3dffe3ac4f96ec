#pragma once

#include "model/Profile.h"
#include "ui/CachedPixmap.h"

#include <QList>
#include <QPointer>
#include <QWidget>
#include <functional>

namespace varrow::model {
class ProfileStore;
}
namespace varrow::claude {
class ClaudeController;
}

namespace varrow::switcher {

class SwitcherRow;

// The pull-out tab on the right screen edge: a strip of account dots, or, expanded, a list of
// account rows under a "Varrow" header.
class EdgeTab : public QWidget {
    Q_OBJECT
public:
    static constexpr int kCollapsedWidth = 22;
    static constexpr int kExpandedWidth = 230;

    // One collapsed-strip dot as drawn.
    struct Dot {
        QUuid id;
        QRectF rect;
        qreal ringOpacity;  // white ring: 0.9 on the current account, else invisible
        qreal opacity;      // 1 while running, else dimmed
    };

    EdgeTab(model::ProfileStore* store, claude::ClaudeController* claude, QWidget* parent = nullptr);

    bool expanded() const { return expanded_; }
    void setExpanded(bool expanded);
    void setSelect(std::function<void(const model::Profile&)> select) { select_ = std::move(select); }

    QList<Dot> dots() const;
    QList<SwitcherRow*> rows() const { return rows_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

public slots:
    // Rebuilds from the store and the controller.
    void refresh();

protected:
    void paintEvent(QPaintEvent*) override;

private:
    int headerHeight() const;
    QRectF outline() const;
    // The filled outline, painted once per size and palette: filling it is the costly part of a
    // repaint, and the tab repaints with every change of what runs.
    const ui::CachedPixmap& background();

    model::ProfileStore* store_;
    claude::ClaudeController* claude_;
    bool expanded_ = false;
    std::function<void(const model::Profile&)> select_;
    QList<SwitcherRow*> rows_;
    ui::CachedPixmap background_;
};

}  // namespace varrow::switcher
