#include "aqua_close_btn.h"

#include <QPainter>

#include "glossy_paint.h"

namespace vitreon {

AquaCloseBtn::AquaCloseBtn(QWidget* parent) : ImageButton(QSize(18, 18), tr("Close"), parent) {}

QPainterPath AquaCloseBtn::outline(const QRectF& cell) const { return circleShape(cell); }

void AquaCloseBtn::paintImage(QPainter& p, const QRectF& cell, bool pressed) const {
    const QRectF disc = cell.adjusted(0.5, 0, -0.5, -1);
    paintGel(p, circleShape(disc), Gel::Red, pressed);
    const QPointF c = disc.center();
    const qreal a = disc.width() * 0.2;
    QPainterPath cross;
    cross.moveTo(c.x() - a, c.y() - a);
    cross.lineTo(c.x() + a, c.y() + a);
    cross.moveTo(c.x() + a, c.y() - a);
    cross.lineTo(c.x() - a, c.y() + a);
    paintGlyph(p, cross, QColor(0x5a, 0x0d, 0x08, pressed ? 255 : 220), 1.8);
}

}  // namespace vitreon
