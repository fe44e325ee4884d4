#include "aqua_help_button.h"

#include <QPainter>

#include "glossy_paint.h"

namespace vitreon {

AquaHelpButton::AquaHelpButton(QWidget* parent) : ImageButton(QSize(22, 22), tr("Help"), parent) {}

QPainterPath AquaHelpButton::outline(const QRectF& cell) const { return circleShape(cell); }

void AquaHelpButton::paintImage(QPainter& p, const QRectF& cell, bool pressed) const {
    const QRectF disc = cell.adjusted(1, 0, -1, -2);
    paintGel(p, circleShape(disc), Gel::Aqua, pressed);
    // The question mark as strokes, so it is equally sharp at every ratio and font.
    const QPointF c = disc.center();
    const qreal s = disc.width() / 20.0;
    QPainterPath q;
    q.moveTo(c.x() - 3.2 * s, c.y() - 3.0 * s);
    q.cubicTo(c.x() - 3.2 * s, c.y() - 7.2 * s, c.x() + 3.6 * s, c.y() - 7.2 * s, c.x() + 3.4 * s,
              c.y() - 2.8 * s);
    q.cubicTo(c.x() + 3.2 * s, c.y() - 0.6 * s, c.x(), c.y() - 0.4 * s, c.x(), c.y() + 2.2 * s);
    paintGlyph(p, q, Qt::white, 2.2 * s);
    QPainterPath dot;
    dot.moveTo(c.x(), c.y() + 5.6 * s);
    dot.lineTo(c.x(), c.y() + 5.7 * s);
    paintGlyph(p, dot, Qt::white, 2.6 * s);
}

}  // namespace vitreon
