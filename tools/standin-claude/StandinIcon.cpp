#include "StandinIcon.h"

#include <QPainter>
#include <QPainterPath>

QImage drawStandinIcon(int pixels) {
    QImage image(pixels, pixels, QImage::Format_RGBA8888_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(pixels / 1024.0, pixels / 1024.0);

    // Tile with the usual margin of a desktop icon.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xD9, 0x77, 0x57));
    painter.drawRoundedRect(QRectF(100, 100, 824, 824), 185, 185);

    // Speech bubble: rounded body and a tail to the lower left.
    QPainterPath bubble;
    bubble.addRoundedRect(QRectF(230, 270, 564, 400), 120, 120);
    QPainterPath tail;
    tail.moveTo(320, 640);
    tail.lineTo(280, 790);
    tail.lineTo(460, 660);
    tail.closeSubpath();
    painter.setBrush(Qt::white);
    painter.drawPath(bubble.united(tail));

    // Three dark dots.
    painter.setBrush(QColor(0x2B, 0x25, 0x22));
    for (int i = 0; i < 3; ++i) painter.drawEllipse(QPointF(372 + i * 140, 470), 44, 44);
    painter.end();
    return image;
}
