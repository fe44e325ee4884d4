// An image strip of equal cells, of which one is shown: the picture part of the standard
// controls. The strip is painted once per size and device pixel ratio by a cell painter, so
// it stays crisp on every screen. It takes no mouse input: presses reach the control.
#pragma once

#include <QPixmap>
#include <QWidget>
#include <functional>

namespace wexcontrols {

class WexStrip : public QWidget {
    Q_OBJECT
  public:
    // Paints cell (column, row) into `cell` (logical pixels) of the strip.
    using CellPainter = std::function<void(QPainter&, int column, int row, const QRectF& cell)>;

    WexStrip(int columns, int rows, CellPainter painter, QWidget* parent);

    // Shows the cell; values outside the strip are clamped to its last column or row.
    void setCell(int column, int row);
    int column() const { return column_; }
    int row() const { return row_; }
    int columns() const { return columns_; }
    int rows() const { return rows_; }

    // Draws the keyboard-focus ring over the shown cell.
    void setFocusRing(bool on);

    // The whole strip as painted for a ratio (for tests and the gallery).
    QPixmap strip(qreal devicePixelRatio);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    const int columns_;
    const int rows_;
    CellPainter painter_;
    int column_ = 0;
    int row_ = 0;
    bool focusRing_ = false;
    QPixmap cache_;
};

}  // namespace wexcontrols
