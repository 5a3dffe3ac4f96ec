#include "switcher/SwitcherPanel.h"

#include "platform/WindowServer.h"

#include <QMouseEvent>
#include <QWindow>

namespace varrow::switcher {

SwitcherPanel::SwitcherPanel(QWidget* content, platform::WindowServer& windowServer)
    : QWidget(nullptr), content_(content), windowServer_(windowServer) {
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                   Qt::WindowDoesNotAcceptFocus | Qt::NoDropShadowWindowHint);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_X11DoNotAcceptFocus);
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_Hover);
    setFocusPolicy(Qt::NoFocus);
    setWindowTitle(tr("Varrow Switcher"));
    content_->setParent(this);
    content_->move(0, 0);
}

void SwitcherPanel::setVisible(bool visible) {
    if (visible && !isVisible()) applyWindowManagerHints();
    QWidget::setVisible(visible);
}

void SwitcherPanel::applyWindowManagerHints() {
    // The native window must exist for the window server to mark it before it is mapped.
    create();
    windowServer_.makeOverlay(windowHandle());
}

void SwitcherPanel::enterEvent(QEnterEvent*) {
    emit hovered(true);
}

void SwitcherPanel::leaveEvent(QEvent*) {
    emit hovered(false);
}

void SwitcherPanel::moveEvent(QMoveEvent*) {
    emit moved();
}

void SwitcherPanel::mousePressEvent(QMouseEvent* event) {
    if (!movable_ || event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    // The window manager's own move keeps the drag smooth; where there is none, move by hand.
    if (windowHandle() && windowHandle()->startSystemMove()) return;
    dragOffset_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void SwitcherPanel::mouseMoveEvent(QMouseEvent* event) {
    if (dragOffset_)
        move(event->globalPosition().toPoint() - *dragOffset_);
    else
        QWidget::mouseMoveEvent(event);
}

void SwitcherPanel::mouseReleaseEvent(QMouseEvent* event) {
    dragOffset_.reset();
    QWidget::mouseReleaseEvent(event);
}

}  // namespace varrow::switcher
