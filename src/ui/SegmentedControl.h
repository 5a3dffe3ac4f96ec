#pragma once

#include <QStringList>
#include <QWidget>

namespace varrow::ui {

// A row of mutually exclusive segments. Unlike a button group it may have no segment selected,
// which is how an unknown stored value shows.
class SegmentedControl : public QWidget {
    Q_OBJECT
public:
    explicit SegmentedControl(const QStringList& titles, QWidget* parent = nullptr);

    int selectedIndex() const { return selected_; }
    void setSelectedIndex(int index);  // -1 for none
    QStringList titles() const { return titles_; }
    QRectF segmentRect(int index) const;
    void click(int index);  // as the user would

    QSize sizeHint() const override;

signals:
    void activated(int index);

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;

private:
    QStringList titles_;
    int selected_ = -1;
};

}  // namespace varrow::ui
