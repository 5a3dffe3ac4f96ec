#include "switcher/SwitcherPanel.h"

#include <xcb/xcb.h>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QWindow>

namespace varrow::switcher {

namespace {

xcb_atom_t internAtom(xcb_connection_t* connection, const char* name) {
    auto cookie = xcb_intern_atom(connection, 0, uint16_t(strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    free(reply);
    return atom;
}

}  // namespace

SwitcherPanel::SwitcherPanel(QWidget* content) : QWidget(nullptr), content_(content) {
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                   Qt::WindowDoesNotAcceptFocus | Qt::NoDropShadowWindowHint);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_X11DoNotAcceptFocus);
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_Hover);
    setFocusPolicy(Qt::NoFocus);
    setWindowTitle(QStringLiteral("Varrow Switcher"));
    content_->setParent(this);
    content_->move(0, 0);
}

void SwitcherPanel::setVisible(bool visible) {
    if (visible && !isVisible()) applyWindowManagerHints();
    QWidget::setVisible(visible);
}

void SwitcherPanel::applyWindowManagerHints() {
    if (QGuiApplication::platformName() != u"xcb") return;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection()) return;
    xcb_connection_t* c = x11->connection();
    const auto window = xcb_window_t(winId());
    // Qt keeps atoms it does not manage when it adds its own, so these survive the show.
    const xcb_atom_t states[] = {
        internAtom(c, "_NET_WM_STATE_SKIP_TASKBAR"),
        internAtom(c, "_NET_WM_STATE_SKIP_PAGER"),
        internAtom(c, "_NET_WM_STATE_STICKY"),
        internAtom(c, "_NET_WM_STATE_ABOVE"),
    };
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, internAtom(c, "_NET_WM_STATE"), XCB_ATOM_ATOM, 32,
                        4, states);
    const uint32_t allDesktops = 0xFFFFFFFF;
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, internAtom(c, "_NET_WM_DESKTOP"), XCB_ATOM_CARDINAL,
                        32, 1, &allDesktops);
    xcb_flush(c);
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
