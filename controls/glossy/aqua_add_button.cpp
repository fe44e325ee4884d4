#include "aqua_add_button.h"

#include <QPainter>

#include "glossy_paint.h"

namespace vitreon {

AquaAddButton::AquaAddButton(QWidget* parent) : ImageButton(QSize(28, 24), tr("Add"), parent) {}

QPainterPath AquaAddButton::outline(const QRectF& cell) const { return roundedShape(cell, 6); }

void AquaAddButton::paintImage(QPainter& p, const QRectF& cell, bool pressed) const {
    const QRectF face = cell.adjusted(0, 0, 0, -1);
    paintGel(p, roundedShape(face, 6), Gel::Aqua, pressed);
    const QPointF c = face.center();
    const qreal a = face.height() * 0.24;
    QPainterPath plus;
    plus.moveTo(c.x() - a, c.y());
    plus.lineTo(c.x() + a, c.y());
    plus.moveTo(c.x(), c.y() - a);
    plus.lineTo(c.x(), c.y() + a);
    paintGlyph(p, plus, Qt::white, 2.4);
}

}  // namespace vitreon
