#pragma once

#include "model/Profile.h"

#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

namespace varrow::test {

// The built stand-in Claude bundle: the environment's choice, else the one this build made.
inline QString standinBundle() {
    if (qEnvironmentVariableIsSet("VARROW_STANDIN_BUNDLE"))
        return qEnvironmentVariable("VARROW_STANDIN_BUNDLE");
#ifdef VARROW_STANDIN_BUNDLE_DEFAULT
    return QStringLiteral(VARROW_STANDIN_BUNDLE_DEFAULT);
#else
    return {};
#endif
}

// A non-default account whose folder is named like the account.
inline model::Profile copiesAccount(const QString& name,
                                    model::ProfileColor color = model::ProfileColor::Teal) {
    model::Profile p;
    p.id = QUuid::createUuid();
    p.name = name;
    p.folderName = name;
    p.color = color;
    return p;
}

// A 1024-style icon with a clay tile, white and dark shapes, gradients across every alpha and
// a soft transparent edge: the hard case for the recolouring's tables and cache.
inline QImage gradientIcon(int pixels) {
    QImage image(pixels, pixels, QImage::Format_RGBA8888_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(pixels / 1024.0, pixels / 1024.0);
    painter.setPen(Qt::NoPen);

    QLinearGradient tile(0, 0, 1024, 1024);
    tile.setColorAt(0, QColor(0xD9, 0x77, 0x57));
    tile.setColorAt(0.5, QColor(0xF0, 0xC0, 0xA0));
    tile.setColorAt(1, QColor(0x30, 0x18, 0x10));
    painter.setBrush(tile);
    painter.drawRoundedRect(QRectF(60, 60, 904, 904), 180, 180);

    QRadialGradient glow(512, 512, 420);
    glow.setColorAt(0, QColor(255, 255, 255, 255));
    glow.setColorAt(1, QColor(40, 90, 200, 0));
    painter.setBrush(glow);
    painter.drawEllipse(QPointF(512, 512), 420, 420);

    painter.setBrush(QColor(0x20, 0x20, 0x20));
    painter.drawEllipse(QPointF(300, 700), 90, 90);
    painter.end();
    return image;
}

}  // namespace varrow::test
