#pragma once

#include <QPoint>
#include <QWidget>
#include <optional>

namespace varrow::platform {
class WindowServer;
}

namespace varrow::switcher {

// The switcher's window: frameless, above everything, on every desktop, never in the taskbar,
// and never taking keyboard focus from the application in front. It reports the pointer
// entering and leaving and its own moves; in the floating style its background drags it.
class SwitcherPanel : public QWidget {
    Q_OBJECT
public:
    // The window server marks the panel as an overlay before it is first shown.
    SwitcherPanel(QWidget* content, platform::WindowServer& windowServer);

    QWidget* content() const { return content_; }
    void setMovableByBackground(bool movable) { movable_ = movable; }
    bool isMovableByBackground() const { return movable_; }

    void setVisible(bool visible) override;

signals:
    void hovered(bool inside);
    void moved();

protected:
    void enterEvent(QEnterEvent*) override;
    void leaveEvent(QEvent*) override;
    void moveEvent(QMoveEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;

private:
    // Never focused, above, on every desktop, out of the taskbar: set before the window is mapped.
    void applyWindowManagerHints();

    QWidget* content_;
    platform::WindowServer& windowServer_;
    bool movable_ = false;
    std::optional<QPoint> dragOffset_;
};

}  // namespace varrow::switcher
