#include "glossy_paint.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <algorithm>

namespace vitreon {
namespace {

struct GelColors {
    QColor top;     // body at the top, seen through the glass highlight
    QColor middle;  // body just below the highlight
    QColor bottom;  // the glow the gel catches at its lower edge
    QColor border;
};

GelColors colorsOf(Gel gel) {
    switch (gel) {
        case Gel::Aqua:
            return {QColor(0x3d, 0x86, 0xdb), QColor(0x1f, 0x6f, 0xd6), QColor(0x8c, 0xd6, 0xff),
                    QColor(0x1a, 0x52, 0x9e)};
        case Gel::Silver:
            return {QColor(0xe9, 0xeb, 0xef), QColor(0xc9, 0xcd, 0xd4), QColor(0xfb, 0xfc, 0xfd),
                    QColor(0x86, 0x8c, 0x96)};
        case Gel::Graphite:
            return {QColor(0x9a, 0xa0, 0xa8), QColor(0x76, 0x7d, 0x87), QColor(0xc8, 0xcd, 0xd3),
                    QColor(0x55, 0x5b, 0x63)};
        case Gel::Red:
            return {QColor(0xd9, 0x4a, 0x3d), QColor(0xc4, 0x2e, 0x22), QColor(0xff, 0xa3, 0x8a),
                    QColor(0x8a, 0x1f, 0x17)};
        case Gel::Green:
            return {QColor(0x4c, 0xb8, 0x54), QColor(0x2c, 0x9b, 0x37), QColor(0xa8, 0xf2, 0x9e),
                    QColor(0x1e, 0x6a, 0x26)};
    }
    return colorsOf(Gel::Aqua);
}

}  // namespace

QPainterPath roundedShape(const QRectF& r, qreal radius) {
    QPainterPath path;
    radius = std::min(radius, std::min(r.width(), r.height()) / 2.0);
    path.addRoundedRect(r, radius, radius);
    return path;
}

QPainterPath circleShape(const QRectF& r) {
    QPainterPath path;
    path.addEllipse(r);
    return path;
}

void paintGel(QPainter& p, const QPainterPath& shape, Gel gel, bool pressed) {
    GelColors c = colorsOf(gel);
    if (pressed) {
        c.top = c.top.darker(125);
        c.middle = c.middle.darker(125);
        c.bottom = c.bottom.darker(115);
    }
    const QRectF r = shape.boundingRect();
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);

    // A soft contact shadow one pixel below, so the gel stands off the window.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 38));
    p.drawPath(shape.translated(0, 1));

    QLinearGradient body(r.topLeft(), r.bottomLeft());
    body.setColorAt(0.0, c.top);
    body.setColorAt(0.5, c.middle);
    body.setColorAt(1.0, c.bottom);
    p.setBrush(body);
    p.drawPath(shape);

    // Clip to the shape on top of the caller's clip (a strip cell), and drop only our own.
    p.save();
    p.setClipPath(shape, Qt::IntersectClip);
    // The glow rising from the bottom edge.
    QRadialGradient glow(QPointF(r.center().x(), r.bottom()),
                         std::max(r.width(), r.height()) * 0.6);
    QColor glowColor = c.bottom.lighter(110);
    glowColor.setAlpha(pressed ? 70 : 130);
    glow.setColorAt(0.0, glowColor);
    glowColor.setAlpha(0);
    glow.setColorAt(1.0, glowColor);
    p.setBrush(glow);
    p.drawRect(r);

    // The glass highlight over the upper half, inset from the sides like a reflection.
    const qreal inset = std::max<qreal>(1.5, std::min(r.height() * 0.22, r.width() * 0.12));
    const QRectF shine(r.left() + inset, r.top() + 1.0, r.width() - 2 * inset, r.height() * 0.46);
    QLinearGradient shineGrad(shine.topLeft(), shine.bottomLeft());
    shineGrad.setColorAt(0.0, QColor(255, 255, 255, pressed ? 140 : 200));
    shineGrad.setColorAt(1.0, QColor(255, 255, 255, pressed ? 10 : 25));
    p.setBrush(shineGrad);
    p.drawPath(roundedShape(shine, shine.height() / 2.0));
    p.restore();

    // A border inset by half a pixel lies on whole device pixels at ratio 1 and 2.
    QPen pen(c.border, 1.0);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    const QRectF b = r.adjusted(0.5, 0.5, -0.5, -0.5);
    if (b.width() > 0 && b.height() > 0) {
        QTransform t;
        t.translate(b.left(), b.top());
        t.scale(b.width() / r.width(), b.height() / r.height());
        t.translate(-r.left(), -r.top());
        p.drawPath(t.map(shape));
    }
    p.restore();
}

void paintGlyph(QPainter& p, const QPainterPath& strokes, const QColor& color, qreal width) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setBrush(Qt::NoBrush);
    const bool light = color.lightness() > 160;
    p.setPen(QPen(light ? QColor(0, 0, 0, 80) : QColor(255, 255, 255, 140), width, Qt::SolidLine,
                  Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(strokes.translated(0, light ? 1.0 : 0.8));
    p.setPen(QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(strokes);
    p.restore();
}

void paintFocusRing(QPainter& p, const QPainterPath& shape) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x4a, 0x9d, 0xff, 210), 2.0));
    p.drawPath(shape);
    p.restore();
}

void paintCaption(QPainter& p, const QRectF& r, const QString& text, const QColor& color) {
    p.save();
    const bool lightText = color.lightness() > 160;
    const QRectF box(r.left(), r.top(), r.width(), p.fontMetrics().height());
    p.setPen(lightText ? QColor(0, 0, 0, 110) : QColor(255, 255, 255, 150));
    p.drawText(box.translated(0, 1), Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine, text);
    p.setPen(color);
    p.drawText(box, Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine, text);
    p.restore();
}

QColor captionColor() { return QColor(0x1d, 0x1f, 0x24); }

}  // namespace vitreon
