#pragma once

#include <QElapsedTimer>
#include <QFrame>
#include <QPointer>

namespace varrow::ui {

// A small floating panel attached to a button, closing when the user clicks elsewhere. It opens
// below the button when there is room, else above, with its arrow pointing at the button.
class Popover : public QFrame {
    Q_OBJECT
public:
    explicit Popover(QWidget* content, QWidget* parent = nullptr);

    QWidget* content() const { return content_; }
    void showFor(QWidget* anchor);
    // A click on the anchor that closed the popover must not open it again at once.
    bool justClosed() const;
    bool arrowOnTop() const { return arrowOnTop_; }

protected:
    void paintEvent(QPaintEvent*) override;
    void hideEvent(QHideEvent*) override;

private:
    QWidget* content_;
    bool arrowOnTop_ = true;
    qreal arrowX_ = 0;
    QElapsedTimer closedAt_;
};

}  // namespace varrow::ui
