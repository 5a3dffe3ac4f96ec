#pragma once

#include "switcher/SwitcherStyle.h"

#include <QObject>

namespace varrow::switcher {

// The small state the switcher views draw from: which look, and whether the edge tab is open.
// Anyone may make one (the render hooks draw views of their own models off screen).
class SwitcherModel : public QObject {
    Q_OBJECT
public:
    explicit SwitcherModel(SwitcherStyle style = SwitcherStyle::Edge, bool expanded = false,
                           QObject* parent = nullptr);

    bool expanded() const { return expanded_; }
    SwitcherStyle style() const { return style_; }
    // Both emit their signal after storing, and only on an actual change.
    void setExpanded(bool expanded);
    void setStyle(SwitcherStyle style);

signals:
    void expandedChanged(bool expanded);
    void styleChanged(varrow::switcher::SwitcherStyle style);
    void changed();

private:
    bool expanded_;
    SwitcherStyle style_;
};

}  // namespace varrow::switcher
