#include "aqua_check.h"

#include <QPainter>

#include "glossy_paint.h"

namespace vitreon {

AquaCheck::AquaCheck(QWidget* parent) : MarkBox(16, tr("Check"), parent) {}

void AquaCheck::toggle() { setValue(Value() == 0 ? 1 : 0); }

QPainterPath AquaCheck::markOutline(const QRectF& cell) const { return roundedShape(cell, 4); }

void AquaCheck::paintMark(QPainter& p, const QRectF& cell, bool set) const {
    paintGel(p, roundedShape(cell, 4), set ? Gel::Aqua : Gel::Silver, false);
    if (!set) return;
    const qreal s = cell.width() / 16.0;
    QPainterPath tick;
    tick.moveTo(cell.left() + 4.0 * s, cell.top() + 8.5 * s);
    tick.lineTo(cell.left() + 7.0 * s, cell.top() + 11.5 * s);
    tick.lineTo(cell.left() + 12.0 * s, cell.top() + 4.5 * s);
    paintGlyph(p, tick, Qt::white, 2.0 * s);
}

}  // namespace vitreon
