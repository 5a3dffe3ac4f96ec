#pragma once

#include "model/ProfileColor.h"

#include <QPainter>
#include <QWidget>

namespace varrow::ui {

// The coloured disc with an account's initials.
class Avatar : public QWidget {
    Q_OBJECT
public:
    // The cards pass the profile's own initials.
    Avatar(const QString& name, const QString& initials, model::ProfileColor color, qreal size,
           QWidget* parent = nullptr);
    // The editor preview derives the initials itself (initialsFor).
    Avatar(const QString& name, model::ProfileColor color, qreal size, QWidget* parent = nullptr);

    // Splits at spaces only (unlike Profile::initials, which also splits at hyphens and dashes).
    static QString initialsFor(const QString& name);
    // Draws the disc filling rect (a square) at the given opacity.
    static void paint(QPainter& painter, const QRectF& rect, const QString& initials,
                      model::ProfileColor color);

    QString name() const { return name_; }
    QString initials() const { return initials_; }
    model::ProfileColor color() const { return color_; }
    qreal diameter() const { return size_; }

    void setName(const QString& name);  // recomputes the initials by initialsFor
    void setColor(model::ProfileColor color);
    // Fill colour drawn instead of the account colour while a colour change animates.
    void setBlend(model::ProfileColor from, qreal progress);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QString name_;
    QString initials_;
    model::ProfileColor color_;
    qreal size_;
    model::ProfileColor blendFrom_;
    qreal blend_ = 1.0;
};

}  // namespace varrow::ui
