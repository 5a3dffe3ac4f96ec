#include "ui/Render.h"

#include "ui/Theme.h"

#include <QApplication>
#include <QCoreApplication>
#include <QImageWriter>
#include <QLayout>
#include <QPainter>

namespace varrow::ui::render {

void useAppearance(bool dark) {
    QApplication::setPalette(dark ? theme::darkPalette() : theme::lightPalette());
}

QImage grab(QWidget* widget, QSize size, qreal scale) {
    // A fixed-size layout sizes its window when first activated; done before the window exists,
    // no size hints go to a platform that cannot take them (the offscreen one warns on stderr).
    widget->ensurePolished();
    if (widget->layout()) widget->layout()->activate();
    // Hidden widgets skip their resize and layout events; make it visible without a window.
    if (!widget->isVisible() && widget->isWindow()) {
        widget->setAttribute(Qt::WA_DontShowOnScreen);
        widget->show();
    }
    if (widget->layout()) widget->layout()->activate();
    if (size.isEmpty())
        widget->adjustSize();
    else
        widget->resize(size);
    const QSize target = widget->size();
    widget->ensurePolished();
    if (widget->layout()) widget->layout()->activate();
    // Let queued layout and polish work settle before the picture is taken.
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
    QImage image(target * scale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    widget->render(&painter, QPoint(), QRegion(), QWidget::DrawChildren | QWidget::DrawWindowBackground);
    return image;
}

bool savePng(const QImage& image, const QString& path) {
    QImageWriter writer(path, "png");
    return writer.write(image);
}

}  // namespace varrow::ui::render
