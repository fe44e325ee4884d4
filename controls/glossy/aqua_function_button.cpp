#include "aqua_function_button.h"

#include <QPainter>

#include "glossy_paint.h"

namespace vitreon {

AquaFunctionButton::AquaFunctionButton(QWidget* parent)
    : ImageButton(QSize(28, 24), tr("More functions"), parent) {}

QPainterPath AquaFunctionButton::outline(const QRectF& cell) const { return roundedShape(cell, 6); }

void AquaFunctionButton::paintImage(QPainter& p, const QRectF& cell, bool pressed) const {
    const QRectF face = cell.adjusted(0, 0, 0, -1);
    paintGel(p, roundedShape(face, 6), Gel::Silver, pressed);
    // Three menu lines and a small down arrow: "this drops down a menu".
    const QColor ink(0x3a, 0x3f, 0x47);
    const qreal left = face.left() + 7, right = face.left() + 15, y = face.center().y();
    QPainterPath lines;
    for (int i = -1; i <= 1; ++i) {
        lines.moveTo(left, y + i * 4.0);
        lines.lineTo(right, y + i * 4.0);
    }
    paintGlyph(p, lines, ink, 1.6);
    QPainterPath arrow;
    arrow.moveTo(right + 3, y - 1.5);
    arrow.lineTo(right + 8, y - 1.5);
    arrow.lineTo(right + 5.5, y + 2);
    arrow.closeSubpath();
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawPath(arrow);
    p.restore();
}

}  // namespace vitreon
