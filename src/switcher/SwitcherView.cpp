#include "switcher/SwitcherView.h"

#include "claude/ClaudeController.h"
#include "model/ProfileStore.h"
#include "switcher/EdgeTab.h"
#include "switcher/FloatingBar.h"
#include "switcher/SwitcherModel.h"

namespace varrow::switcher {

SwitcherView::SwitcherView(SwitcherModel* model, model::ProfileStore* store, claude::ClaudeController* claude,
                           QWidget* parent)
    : QWidget(parent),
      model_(model),
      claude_(claude),
      edgeTab_(new EdgeTab(store, claude, this)),
      floatingBar_(new FloatingBar(store, claude, this)) {
    setAttribute(Qt::WA_TranslucentBackground);
    edgeTab_->setSelect([this](const model::Profile& profile) {
        claude_->open(profile);
        model_->setExpanded(false);
    });
    connect(model_, &SwitcherModel::changed, this, &SwitcherView::sync);
    // The children rebuild themselves first (they connected first); then the size follows.
    connect(store, &model::ProfileStore::profilesChanged, this, &SwitcherView::sync);
    connect(claude, &claude::ClaudeController::stateChanged, this, &SwitcherView::sync);
    sync();
}

QWidget* SwitcherView::content() const {
    if (model_->style() == SwitcherStyle::Floating) return floatingBar_;
    return edgeTab_;
}

void SwitcherView::sync() {
    const bool floating = model_->style() == SwitcherStyle::Floating;
    edgeTab_->setExpanded(model_->expanded());
    edgeTab_->setVisible(!floating);
    floatingBar_->setVisible(floating);
    content()->move(0, 0);
    setFixedSize(sizeHint());
    emit contentChanged();
}

QSize SwitcherView::sizeHint() const {
    return content()->sizeHint();
}

}  // namespace varrow::switcher
