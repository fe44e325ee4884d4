#include "aqua_radio.h"

#include <QPainter>

#include "glossy_paint.h"

namespace vitreon {

AquaRadio::AquaRadio(QWidget* parent) : MarkBox(16, tr("Radio"), parent) {}

void AquaRadio::toggle() { setValue(1); }

QPainterPath AquaRadio::markOutline(const QRectF& cell) const { return circleShape(cell); }

void AquaRadio::paintMark(QPainter& p, const QRectF& cell, bool set) const {
    paintGel(p, circleShape(cell), set ? Gel::Aqua : Gel::Silver, false);
    if (!set) return;
    const qreal d = cell.width() * 0.36;
    const QRectF dot(cell.center().x() - d / 2, cell.center().y() - d / 2, d, d);
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 60));
    p.drawEllipse(dot.translated(0, 0.8));
    p.setBrush(Qt::white);
    p.drawEllipse(dot);
    p.restore();
}

}  // namespace vitreon
