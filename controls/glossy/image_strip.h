// A strip of equally sized image cells stacked top to bottom, painted once per device pixel
// ratio. A control shows one cell at a time; changing its state moves the strip so that
// another cell shows.
#pragma once

#include <QPixmap>
#include <QSize>
#include <functional>

#include "vitreon_api.h"

class QPainter;
class QRectF;

namespace vitreon {

class VITREON_API ImageStrip {
  public:
    using CellPainter = std::function<void(QPainter& p, const QRectF& cell, int index)>;

    // True when the strip was painted for this ratio and cell size and need not be repainted.
    bool fits(qreal dpr, QSize cell) const;
    // Paints `cells` cells of `cell` logical size at `dpr`; `paint` draws cell `index` into
    // the rectangle it is given (origin at the cell's top left).
    void paint(qreal dpr, QSize cell, int cells, const CellPainter& paint);
    // Draws cell `index` (clamped to the strip) with its top left at `at`, optionally
    // stretched to `size` (an empty size keeps the cell's size).
    void drawCell(QPainter& p, QPointF at, int index, QSizeF size = QSizeF()) const;

    QSize cellSize() const { return cell_; }
    int cellCount() const { return cells_; }
    const QPixmap& pixmap() const { return pixmap_; }

  private:
    QPixmap pixmap_;
    QSize cell_;
    int cells_ = 0;
    qreal dpr_ = 0;
};

}  // namespace vitreon
