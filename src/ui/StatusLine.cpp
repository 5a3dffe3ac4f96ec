#include "ui/StatusLine.h"

#include "ui/Theme.h"

#include <QCoreApplication>
#include <QtMath>

namespace varrow::ui::status_line {

Kind kind(bool running, bool opening) {
    if (opening) return Kind::Opening;
    return running ? Kind::Running : Kind::NotOpen;
}

QString text(bool running, bool opening, bool hovering) {
    switch (kind(running, opening)) {
        case Kind::Opening:
            return QCoreApplication::translate("StatusLine", "Opening…");
        case Kind::Running:
            return hovering ? QCoreApplication::translate("StatusLine", "Click to switch")
                            : QCoreApplication::translate("StatusLine", "Open", "an account that is open");
        case Kind::NotOpen:
            return hovering ? QCoreApplication::translate("StatusLine", "Click to open")
                            : QCoreApplication::translate("StatusLine", "Not open");
    }
    return {};
}

void paint(QPainter& p, const QRectF& rect, Kind kind, const QString& text, qreal phase,
           const QPalette& pal) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const qreal midY = rect.center().y();
    qreal x = rect.left();
    switch (kind) {
        case Kind::Opening: {
            // Mini spinner: twelve spokes, the leading one darkest.
            const QPointF c(x + 6, midY);
            const int lead = int(phase * 12) % 12;
            for (int i = 0; i < 12; ++i) {
                const qreal angle = qDegreesToRadians(i * 30.0 - 90);
                const int age = (lead - i + 12) % 12;
                QColor spoke = theme::secondary(pal);
                spoke.setAlphaF(float(spoke.alphaF() * (1.0 - age / 13.0)));
                p.setPen(QPen(spoke, 1.4, Qt::SolidLine, Qt::RoundCap));
                p.drawLine(c + QPointF(std::cos(angle), std::sin(angle)) * 2.6,
                           c + QPointF(std::cos(angle), std::sin(angle)) * 5.4);
            }
            x += 12;
            break;
        }
        case Kind::Running:
            p.setPen(Qt::NoPen);
            p.setBrush(theme::green(pal));
            p.drawEllipse(QRectF(x, midY - 3.5, 7, 7));
            x += 7;
            break;
        case Kind::NotOpen: {
            QColor ring = theme::secondary(pal);
            ring.setAlphaF(float(ring.alphaF() * 0.6));
            p.setPen(QPen(ring, 1));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(QRectF(x + 0.5, midY - 3, 6, 6));
            x += 7;
            break;
        }
    }
    x += 6;
    p.setFont(theme::caption());
    p.setPen(theme::secondary(pal));
    p.drawText(QRectF(x, rect.top(), rect.right() - x, rect.height()), Qt::AlignLeft | Qt::AlignVCenter,
               text);
    p.restore();
}

}  // namespace varrow::ui::status_line
