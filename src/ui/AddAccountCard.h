#pragma once

#include <QAbstractButton>

namespace varrow::ui {

class PressableStyle;

// The last cell of the grid: a dashed card that starts a new account.
class AddAccountCard : public QAbstractButton {
    Q_OBJECT
public:
    explicit AddAccountCard(QWidget* parent = nullptr);
    bool hovering() const { return hovering_; }
    QRectF cardRect() const;

protected:
    void paintEvent(QPaintEvent*) override;
    bool hitButton(const QPoint& pos) const override;
    void mouseMoveEvent(QMouseEvent*) override;
    void leaveEvent(QEvent*) override;

private:
    PressableStyle* pressable_;
    bool hovering_ = false;
};

}  // namespace varrow::ui
