#include "ui/PressableStyle.h"
#include "platform/Timings.h"

namespace varrow::ui {

PressableStyle::PressableStyle(QAbstractButton* button) : QObject(button), button_(button) {
    animation_.setDuration(int(Timings::pressAnimation().count()));
    animation_.setEasingCurve(QEasingCurve::OutCubic);
    connect(&animation_, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        scale_ = value.toReal();
        emit scaleChanged(scale_);
        if (button_) button_->update();
    });
    connect(button, &QAbstractButton::pressed, this, [this] { animateTo(kPressedScale); });
    connect(button, &QAbstractButton::released, this, [this] { animateTo(1.0); });
}

void PressableStyle::animateTo(qreal target) {
    animation_.stop();
    animation_.setStartValue(scale_);
    animation_.setEndValue(target);
    animation_.start();
}

void PressableStyle::apply(QPainter& painter, const QRectF& rect) const {
    if (qFuzzyCompare(scale_, 1.0)) return;
    const QPointF c = rect.center();
    painter.translate(c);
    painter.scale(scale_, scale_);
    painter.translate(-c);
}

}  // namespace varrow::ui
