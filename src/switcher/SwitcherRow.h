#pragma once

#include "model/Profile.h"

#include <QAbstractButton>
#include <functional>

namespace varrow::switcher {

// One account in the expanded edge tab: avatar, name, and a check mark (current) or a green
// dot (running). The whole row is the click target.
class SwitcherRow : public QAbstractButton {
    Q_OBJECT
public:
    static constexpr int kHeight = 34;

    SwitcherRow(const model::Profile& profile, bool isCurrent, bool isRunning, std::function<void()> action,
                QWidget* parent = nullptr);

    const model::Profile& profile() const { return profile_; }
    bool isCurrent() const { return isCurrent_; }
    bool isRunning() const { return isRunning_; }
    bool hovering() const { return hovering_; }
    // The name as drawn (one line, elided to the room left).
    QString displayedName() const;

    QSize sizeHint() const override { return QSize(214, kHeight); }

protected:
    void paintEvent(QPaintEvent*) override;
    void enterEvent(QEnterEvent*) override;
    void leaveEvent(QEvent*) override;

private:
    QRectF nameRect() const;
    QFont nameFont() const;

    model::Profile profile_;
    bool isCurrent_;
    bool isRunning_;
    bool hovering_ = false;
};

}  // namespace varrow::switcher
