#include "aqua_check_light.h"

#include <QPainter>
#include <QRadialGradient>

#include "glossy_paint.h"

namespace vitreon {

AquaCheckLight::AquaCheckLight(QWidget* parent) : MarkBox(14, tr("Check"), parent) {}

void AquaCheckLight::toggle() { setValue(Value() == 0 ? 1 : 0); }

QPainterPath AquaCheckLight::markOutline(const QRectF& cell) const { return circleShape(cell); }

void AquaCheckLight::paintMark(QPainter& p, const QRectF& cell, bool set) const {
    paintGel(p, circleShape(cell), set ? Gel::Green : Gel::Graphite, false);
    if (!set) return;
    // A lit lamp glows from its centre.
    QRadialGradient glow(cell.center(), cell.width() / 2.0);
    glow.setColorAt(0.0, QColor(230, 255, 200, 170));
    glow.setColorAt(1.0, QColor(230, 255, 200, 0));
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(cell.adjusted(2, 2, -2, -2));
    p.restore();
}

}  // namespace vitreon
