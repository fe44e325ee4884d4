// A layout grid of cells in twips: columns of cells, one cell per row, each holding one
// control or nothing. ReArrange places every control by running offsets and raises
// Resize with the total size. Rows and columns are numbered from 1. The grid never owns
// or destroys the controls it places. UI thread only.
#pragma once

#include <QHash>
#include <QObject>
#include <QWidget>
#include <vector>

namespace vandrel {

class ZolGrid : public QObject {
    Q_OBJECT
  public:
    explicit ZolGrid(QObject* parent = nullptr);

    int rowCount() const { return static_cast<int>(rowHeights_.size()); }
    int colCount() const { return static_cast<int>(colWidths_.size()); }

    // Starts empty with the offsets (twips) added to every placed control.
    void Init(int leftOffset, int topOffset);
    void addCol(int width);
    // position -1 appends at the bottom, 0 inserts at the top, k inserts below row k.
    // Every column gets an empty cell there. Positions past the end append.
    void addRow(int position, int height);
    void delRow(int row);
    void appendControl(QWidget* control, int column, int row);
    void releaseControl(int column, int row);
    QWidget* getControl(int column, int row) const;
    std::vector<QWidget*> getColControls(int column) const;
    std::vector<QWidget*> getRowControls(int row) const;
    // The cell recorded for the control by the last ReArrange; 0 when not placed then.
    int getControlColNum(QWidget* control) const;
    int getControlRowNum(QWidget* control) const;
    void resizeRowHeight(int row, int height);
    int rowHeight(int row) const;
    // Top of a row in twips, without the offset.
    int rowTop(int row) const;
    int totalWidth() const;
    int totalHeight() const;

    void ReArrange();

  signals:
    void Resize(int widthTwips, int heightTwips);

  private:
    bool validCell(int column, int row) const;

    int left_ = 0;
    int top_ = 0;
    std::vector<int> rowHeights_;
    std::vector<int> colWidths_;
    std::vector<std::vector<QWidget*>> cols_;
    QHash<const QWidget*, QString> positions_;  // "column|row" as of the last ReArrange
};

}  // namespace vandrel
