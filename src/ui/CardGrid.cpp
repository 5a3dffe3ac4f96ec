#include "ui/CardGrid.h"

namespace varrow::ui {

int CardGrid::columnsFor(int width) {
    return std::max(1, (width - 2 * kPadding + kSpacing) / (kMinColumn + kSpacing));
}

CardGrid::CardGrid(QWidget* parent) : QWidget(parent) {
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

void CardGrid::setCells(const QList<QWidget*>& cells, int cellMargin) {
    // The list is set again on every change of any account (an open stamps the account): with the
    // same cards in the same order, raising and placing them would only repaint the whole grid.
    if (cells == cells_ && cellMargin == margin_) return;
    cells_ = cells;
    margin_ = cellMargin;
    for (int i = 0; i < cells_.size(); ++i) {
        cells_[i]->setParent(this);
        cells_[i]->show();
    }
    // Later cells stack above earlier ones; keep the order of the list.
    for (QWidget* cell : std::as_const(cells_)) cell->raise();
    updateGeometry();
    place();
}

QRect CardGrid::cardRect(int index) const {
    const int cols = columns();
    const int inner = std::max(0, width() - 2 * kPadding);
    const double colWidth = (inner - (cols - 1) * kSpacing) / double(cols);
    const int row = index / cols, col = index % cols;
    const int x = kPadding + int(col * (colWidth + kSpacing) + 0.5);
    const int right = kPadding + int(col * (colWidth + kSpacing) + colWidth + 0.5);
    return QRect(x, kPadding + row * (kRowHeight + kSpacing), right - x, kRowHeight);
}

int CardGrid::heightForWidth(int width) const {
    const int cols = columnsFor(width);
    const int rows = int((cells_.size() + cols - 1) / cols);
    return 2 * kPadding + rows * kRowHeight + std::max(0, rows - 1) * kSpacing;
}

QSize CardGrid::sizeHint() const {
    return QSize(560, heightForWidth(560));
}
QSize CardGrid::minimumSizeHint() const {
    return QSize(kMinColumn + 2 * kPadding, heightForWidth(kMinColumn + 40));
}

void CardGrid::resizeEvent(QResizeEvent*) {
    place();
}

void CardGrid::place() {
    for (int i = 0; i < cells_.size(); ++i)
        cells_[i]->setGeometry(cardRect(i).adjusted(-margin_, -margin_, margin_, margin_));
    setMinimumHeight(heightForWidth(width()));
}

}  // namespace varrow::ui
