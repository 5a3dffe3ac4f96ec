#include "switcher/SwitcherModel.h"

namespace varrow::switcher {

SwitcherModel::SwitcherModel(SwitcherStyle style, bool expanded, QObject* parent)
    : QObject(parent), expanded_(expanded), style_(style) {}

void SwitcherModel::setExpanded(bool expanded) {
    if (expanded_ == expanded) return;
    expanded_ = expanded;
    emit expandedChanged(expanded_);
    emit changed();
}

void SwitcherModel::setStyle(SwitcherStyle style) {
    if (style_ == style) return;
    style_ = style;
    emit styleChanged(style_);
    emit changed();
}

}  // namespace varrow::switcher
