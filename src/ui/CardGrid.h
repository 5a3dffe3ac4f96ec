#pragma once

#include <QList>
#include <QWidget>

namespace varrow::ui {

// Lays its cells out in equal adaptive columns: each at least 230 wide, 14 apart, 20 of padding.
class CardGrid : public QWidget {
    Q_OBJECT
public:
    static constexpr int kMinColumn = 230, kSpacing = 14, kPadding = 20, kRowHeight = 92;

    // max(1, floor((width − 40 + 14) / 244))
    static int columnsFor(int width);

    explicit CardGrid(QWidget* parent = nullptr);

    // Cells in order; the grid owns them. Cells draw kMargin beyond their card on every side.
    void setCells(const QList<QWidget*>& cells, int cellMargin);
    QList<QWidget*> cells() const { return cells_; }
    int columns() const { return columnsFor(width()); }
    // The card rectangle (without the cell's margin) of cell i at the current width.
    QRect cardRect(int index) const;

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent*) override;

private:
    void place();

    QList<QWidget*> cells_;
    int margin_ = 0;
};

}  // namespace varrow::ui
