#include "rules/view/zol_grid.h"

#include <numeric>

#include "rules/view/view_twips.h"

namespace vandrel {

ZolGrid::ZolGrid(QObject* parent) : QObject(parent) {}

void ZolGrid::Init(int leftOffset, int topOffset) {
    left_ = leftOffset;
    top_ = topOffset;
    rowHeights_.clear();
    colWidths_.clear();
    cols_.clear();
    positions_.clear();
}

void ZolGrid::addCol(int width) {
    colWidths_.push_back(width);
    cols_.emplace_back(rowHeights_.size(), nullptr);
}

void ZolGrid::addRow(int position, int height) {
    std::size_t at = rowHeights_.size();
    if (position == 0)
        at = 0;
    else if (position > 0 && position < rowCount())
        at = static_cast<std::size_t>(position);
    rowHeights_.insert(rowHeights_.begin() + static_cast<std::ptrdiff_t>(at), height);
    for (auto& col : cols_) col.insert(col.begin() + static_cast<std::ptrdiff_t>(at), nullptr);
}

void ZolGrid::delRow(int row) {
    if (row < 1 || row > rowCount()) return;
    const auto at = static_cast<std::ptrdiff_t>(row - 1);
    rowHeights_.erase(rowHeights_.begin() + at);
    for (auto& col : cols_) {
        if (col[static_cast<std::size_t>(at)]) positions_.remove(col[static_cast<std::size_t>(at)]);
        col.erase(col.begin() + at);
    }
}

bool ZolGrid::validCell(int column, int row) const {
    return column >= 1 && column <= colCount() && row >= 1 && row <= rowCount();
}

void ZolGrid::appendControl(QWidget* control, int column, int row) {
    if (!validCell(column, row)) return;
    cols_[column - 1][row - 1] = control;
}

void ZolGrid::releaseControl(int column, int row) {
    if (!validCell(column, row)) return;
    QWidget*& cell = cols_[column - 1][row - 1];
    if (cell) positions_.remove(cell);
    cell = nullptr;
}

QWidget* ZolGrid::getControl(int column, int row) const {
    return validCell(column, row) ? cols_[column - 1][row - 1] : nullptr;
}

std::vector<QWidget*> ZolGrid::getColControls(int column) const {
    std::vector<QWidget*> out;
    if (column < 1 || column > colCount()) return out;
    for (QWidget* w : cols_[column - 1])
        if (w) out.push_back(w);
    return out;
}

std::vector<QWidget*> ZolGrid::getRowControls(int row) const {
    std::vector<QWidget*> out;
    if (row < 1 || row > rowCount()) return out;
    for (const auto& col : cols_)
        if (QWidget* w = col[row - 1]) out.push_back(w);
    return out;
}

int ZolGrid::getControlColNum(QWidget* control) const {
    const QString pos = positions_.value(control);
    return pos.isEmpty() ? 0 : pos.section(QLatin1Char('|'), 0, 0).toInt();
}

int ZolGrid::getControlRowNum(QWidget* control) const {
    const QString pos = positions_.value(control);
    return pos.isEmpty() ? 0 : pos.section(QLatin1Char('|'), 1, 1).toInt();
}

void ZolGrid::resizeRowHeight(int row, int height) {
    if (row >= 1 && row <= rowCount()) rowHeights_[row - 1] = height;
}

int ZolGrid::rowHeight(int row) const {
    return (row >= 1 && row <= rowCount()) ? rowHeights_[row - 1] : 0;
}

int ZolGrid::rowTop(int row) const {
    int y = 0;
    for (int r = 1; r < row && r <= rowCount(); ++r) y += rowHeights_[r - 1];
    return y;
}

int ZolGrid::totalWidth() const { return std::accumulate(colWidths_.begin(), colWidths_.end(), 0); }
int ZolGrid::totalHeight() const {
    return std::accumulate(rowHeights_.begin(), rowHeights_.end(), 0);
}

void ZolGrid::ReArrange() {
    // Running offsets: a control's place depends only on the sizes before it, so a
    // changed row height moves every row below it.
    int x = 0;
    for (int c = 0; c < colCount(); ++c) {
        int y = 0;
        for (int r = 0; r < rowCount(); ++r) {
            if (QWidget* w = cols_[c][r]) {
                w->move(TwipsToPx(left_ + x), TwipsToPx(top_ + y));
                positions_.insert(w, QStringLiteral("%1|%2").arg(c + 1).arg(r + 1));
            }
            y += rowHeights_[r];
        }
        x += colWidths_[c];
    }
    emit Resize(totalWidth(), totalHeight());
}

}  // namespace vandrel
