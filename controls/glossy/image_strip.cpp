#include "image_strip.h"

#include <QPainter>
#include <QRectF>
#include <algorithm>
#include <cmath>

namespace vitreon {

bool ImageStrip::fits(qreal dpr, QSize cell) const {
    return !pixmap_.isNull() && qFuzzyCompare(dpr_, dpr) && cell_ == cell;
}

void ImageStrip::paint(qreal dpr, QSize cell, int cells, const CellPainter& paint) {
    dpr_ = dpr;
    cell_ = cell;
    cells_ = std::max(1, cells);
    const int w = std::max(1, static_cast<int>(std::ceil(cell.width() * dpr)));
    const int h = std::max(1, static_cast<int>(std::ceil(cell.height() * cells_ * dpr)));
    pixmap_ = QPixmap(w, h);
    pixmap_.setDevicePixelRatio(dpr);
    pixmap_.fill(Qt::transparent);
    QPainter p(&pixmap_);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    for (int i = 0; i < cells_; ++i) {
        p.save();
        p.translate(0, static_cast<qreal>(i) * cell.height());
        p.setClipRect(QRectF(0, 0, cell.width(), cell.height()));
        paint(p, QRectF(0, 0, cell.width(), cell.height()), i);
        p.restore();
    }
}

void ImageStrip::drawCell(QPainter& p, QPointF at, int index, QSizeF size) const {
    if (pixmap_.isNull()) return;
    index = std::clamp(index, 0, cells_ - 1);
    const QRectF source(0, index * cell_.height() * dpr_, cell_.width() * dpr_,
                        cell_.height() * dpr_);
    const QSizeF target = size.isEmpty() ? QSizeF(cell_) : size;
    p.drawPixmap(QRectF(at, target), pixmap_, source);
}

}  // namespace vitreon
