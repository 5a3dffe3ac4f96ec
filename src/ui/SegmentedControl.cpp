#include "ui/SegmentedControl.h"

#include "ui/ProfileCard.h"
#include "ui/Theme.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

namespace varrow::ui {

SegmentedControl::SegmentedControl(const QStringList& titles, QWidget* parent)
    : QWidget(parent), titles_(titles) {
    setFont(theme::font(12));
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void SegmentedControl::setSelectedIndex(int index) {
    selected_ = (index >= 0 && index < titles_.size()) ? index : -1;
    update();
}

void SegmentedControl::click(int index) {
    if (index < 0 || index >= titles_.size()) return;
    setSelectedIndex(index);
    emit activated(index);
}

QSize SegmentedControl::sizeHint() const {
    const QFontMetrics fm(font());
    int w = 0;
    for (const QString& t : titles_) w = std::max(w, fm.horizontalAdvance(t) + 20);
    return QSize(w * int(titles_.size()) + 4, 26);
}

QRectF SegmentedControl::segmentRect(int index) const {
    const qreal w = (width() - 4.0) / std::max<qsizetype>(1, titles_.size());
    return QRectF(2 + index * w, 2, w, height() - 4);
}

void SegmentedControl::mouseReleaseEvent(QMouseEvent* event) {
    for (int i = 0; i < titles_.size(); ++i)
        if (segmentRect(i).contains(event->position())) return click(i);
}

void SegmentedControl::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QPalette& pal = palette();
    p.setPen(Qt::NoPen);
    p.setBrush(theme::primary(pal, theme::isDark(pal) ? 0.1 : 0.06));
    p.drawRoundedRect(QRectF(rect()), 7, 7);
    for (int i = 0; i < titles_.size(); ++i) {
        const QRectF r = segmentRect(i);
        if (i == selected_) {
            paintSoftShadow(p, r, 5, 2, 0.5, 0.12);
            p.setPen(Qt::NoPen);
            p.setBrush(theme::isDark(pal) ? QColor(255, 255, 255, 60) : theme::controlBackground(pal));
            p.drawRoundedRect(r, 5, 5);
        } else if (i > 0 && i - 1 != selected_) {
            p.fillRect(QRectF(r.left(), r.top() + 5, 1, r.height() - 10), theme::primary(pal, 0.12));
        }
        QFont f = font();
        if (i == selected_) f.setWeight(QFont::DemiBold);
        p.setFont(f);
        p.setPen(theme::primary(pal));
        p.drawText(r, Qt::AlignCenter, titles_[i]);
    }
}

}  // namespace varrow::ui
