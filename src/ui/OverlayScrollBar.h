#pragma once

#include <QScrollBar>

class QAbstractScrollArea;

namespace varrow::ui {

// A vertical scroll bar laid over the right edge of a scroll area rather than beside it, like the
// platform's overlay scrollers: the content keeps the area's full width whether it scrolls or not,
// so nothing laid out by width (the card grid's columns) changes when the bar comes and goes.
class OverlayScrollBar : public QScrollBar {
    Q_OBJECT
public:
    // Takes over the area's vertical scrolling; the area's own bar stays hidden and drives the view.
    explicit OverlayScrollBar(QAbstractScrollArea* area);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void sync();
    void place();

    // The viewport, not the area: the viewport still sends events while the area is being
    // destroyed, when the area may no longer be asked for anything.
    QWidget* viewport_;
    QScrollBar* inner_;
};

}  // namespace varrow::ui
