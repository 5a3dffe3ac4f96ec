#include "ui/OverlayScrollBar.h"

#include <QAbstractScrollArea>
#include <QEvent>

namespace varrow::ui {

OverlayScrollBar::OverlayScrollBar(QAbstractScrollArea* area)
    : QScrollBar(Qt::Vertical, area), viewport_(area->viewport()), inner_(area->verticalScrollBar()) {
    area->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(inner_, &QScrollBar::rangeChanged, this, &OverlayScrollBar::sync);
    // The area sets the page step just after the range; take both once it is done.
    connect(inner_, &QScrollBar::rangeChanged, this, &OverlayScrollBar::sync, Qt::QueuedConnection);
    connect(inner_, &QScrollBar::valueChanged, this, &QScrollBar::setValue);
    connect(this, &QScrollBar::valueChanged, inner_, &QScrollBar::setValue);
    // The viewport is resized after the area's own resize event, so follow the viewport.
    viewport_->installEventFilter(this);
    sync();
}

bool OverlayScrollBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == viewport_ && (event->type() == QEvent::Resize || event->type() == QEvent::Move)) place();
    return QScrollBar::eventFilter(watched, event);
}

void OverlayScrollBar::sync() {
    setRange(inner_->minimum(), inner_->maximum());
    setPageStep(inner_->pageStep());
    setSingleStep(inner_->singleStep());
    setValue(inner_->value());
    setVisible(inner_->maximum() > inner_->minimum());
    place();
}

void OverlayScrollBar::place() {
    const QRect viewport = viewport_->geometry();
    const int width = sizeHint().width();
    setGeometry(viewport.right() + 1 - width, viewport.top(), width, viewport.height());
    raise();
}

}  // namespace varrow::ui
