#include "wex_strip.h"

#include <QPainter>
#include <algorithm>

#include "wex_images.h"

namespace wexcontrols {

WexStrip::WexStrip(int columns, int rows, CellPainter painter, QWidget* parent)
    : QWidget(parent),
      columns_(std::max(1, columns)),
      rows_(std::max(1, rows)),
      painter_(std::move(painter)) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void WexStrip::setCell(int column, int row) {
    column = std::clamp(column, 0, columns_ - 1);
    row = std::clamp(row, 0, rows_ - 1);
    if (column == column_ && row == row_) return;
    column_ = column;
    row_ = row;
    update();
}

void WexStrip::setFocusRing(bool on) {
    if (on == focusRing_) return;
    focusRing_ = on;
    update();
}

QPixmap WexStrip::strip(qreal devicePixelRatio) {
    const QSize logical(width() * columns_, height() * rows_);
    if (cache_.isNull() || cache_.devicePixelRatio() != devicePixelRatio ||
        cache_.deviceIndependentSize().toSize() != logical) {
        QPixmap pixmap(logical * devicePixelRatio);
        pixmap.setDevicePixelRatio(devicePixelRatio);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        for (int r = 0; r < rows_; ++r) {
            for (int c = 0; c < columns_; ++c) {
                p.save();
                const QRectF cell(c * width(), r * height(), width(), height());
                p.setClipRect(cell);
                painter_(p, c, r, cell);
                p.restore();
            }
        }
        cache_ = pixmap;
    }
    return cache_;
}

void WexStrip::paintEvent(QPaintEvent*) {
    if (width() <= 0 || height() <= 0) return;
    const qreal ratio = devicePixelRatioF();
    const QPixmap& pixmap = strip(ratio);
    QPainter p(this);
    const QRectF source(column_ * width() * ratio, row_ * height() * ratio, width() * ratio,
                        height() * ratio);
    p.drawPixmap(QRectF(0, 0, width(), height()), pixmap, source);
    if (focusRing_) images::PaintFocusRing(p, rect());
}

}  // namespace wexcontrols
