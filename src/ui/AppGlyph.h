#pragma once

#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QWidget>

namespace varrow::ui {

// Varrow's own mark: three overlapping account discs on a dark rounded square.
class AppGlyph : public QWidget {
    Q_OBJECT
public:
    explicit AppGlyph(QWidget* parent = nullptr);

    // The square the mark occupies inside an area: the largest square that fits, centred.
    static QRectF squareIn(const QRectF& area);
    static void paint(QPainter& painter, const QRectF& area);
    // For the tray, the window icon and the desktop entry.
    static QPixmap pixmap(int side, qreal devicePixelRatio = 1.0);
    static QIcon icon();

    QSize sizeHint() const override { return QSize(44, 44); }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override { return width; }

protected:
    void paintEvent(QPaintEvent*) override;
};

}  // namespace varrow::ui
