#pragma once

#include "platform/Timings.h"

#include <QAbstractButton>
#include <QPainter>
#include <QPointer>
#include <QVariantAnimation>

namespace varrow::ui {

// Shrinks a button's drawing to 98 % about its centre while it is pressed, easing out over
// 0.1 s both ways. The button calls apply() at the start of its paintEvent.
class PressableStyle : public QObject {
    Q_OBJECT
public:
    static constexpr qreal kPressedScale = 0.98;

    explicit PressableStyle(QAbstractButton* button);

    qreal scale() const { return scale_; }
    // Scales the painter about the centre of rect by the current scale.
    void apply(QPainter& painter, const QRectF& rect) const;

signals:
    void scaleChanged(qreal scale);

private:
    void animateTo(qreal target);

    QPointer<QAbstractButton> button_;
    QVariantAnimation animation_;
    qreal scale_ = 1.0;
};

}  // namespace varrow::ui
