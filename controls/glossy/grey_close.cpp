#include "grey_close.h"

#include <QPainter>

#include "glossy_paint.h"

namespace vitreon {

GreyClose::GreyClose(QWidget* parent) : ImageButton(QSize(16, 16), tr("Close"), parent) {}

QPainterPath GreyClose::outline(const QRectF& cell) const { return circleShape(cell); }

void GreyClose::paintImage(QPainter& p, const QRectF& cell, bool pressed) const {
    const QRectF disc = cell.adjusted(0.5, 0, -0.5, -1);
    paintGel(p, circleShape(disc), Gel::Graphite, pressed);
    const QPointF c = disc.center();
    const qreal a = disc.width() * 0.19;
    QPainterPath cross;
    cross.moveTo(c.x() - a, c.y() - a);
    cross.lineTo(c.x() + a, c.y() + a);
    cross.moveTo(c.x() + a, c.y() - a);
    cross.lineTo(c.x() - a, c.y() + a);
    paintGlyph(p, cross, Qt::white, 1.6);
}

}  // namespace vitreon
