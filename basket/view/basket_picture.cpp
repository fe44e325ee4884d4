#include "basket/view/basket_picture.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QtMath>

namespace vandrel {

namespace {

void PaintFolderMark(QPainter& p, const QRectF& r) {
    QPainterPath tab;
    tab.addRoundedRect(QRectF(r.left(), r.top(), r.width() * 0.45, r.height() * 0.4), 1.5, 1.5);
    QPainterPath body;
    body.addRoundedRect(QRectF(r.left(), r.top() + r.height() * 0.22, r.width(), r.height() * 0.78),
                        2, 2);
    p.setPen(QPen(QColor(255, 255, 255, 230), 1));
    p.setBrush(QColor(255, 214, 102));
    p.drawPath(tab.united(body));
}

void PaintGearMark(QPainter& p, const QRectF& r) {
    const QPointF c = r.center();
    const qreal outer = r.width() / 2, inner = outer * 0.68;
    QPainterPath gear;
    constexpr int kTeeth = 8;
    for (int i = 0; i < kTeeth * 2; ++i) {
        const qreal a0 = (i * M_PI) / kTeeth, a1 = ((i + 1) * M_PI) / kTeeth;
        const qreal rad = i % 2 == 0 ? outer : inner;
        const QPointF p0(c.x() + rad * qCos(a0), c.y() + rad * qSin(a0));
        const QPointF p1(c.x() + rad * qCos(a1), c.y() + rad * qSin(a1));
        if (i == 0) gear.moveTo(p0);
        gear.lineTo(p0);
        gear.lineTo(p1);
    }
    gear.closeSubpath();
    QPainterPath hole;
    hole.addEllipse(c, outer * 0.3, outer * 0.3);
    p.setPen(QPen(QColor(40, 70, 130), 0.8));
    p.setBrush(QColor(235, 240, 250));
    p.drawPath(gear.subtracted(hole));
}

}  // namespace

QRect BasketPicture::statusRect(int side) {
    return QRect(5, side * 54 / 100, side - 10, side * 44 / 100);
}

QRect BasketPicture::quickFolderRect(int side) { return QRect(5, 5, side / 5 + 2, side / 6 + 2); }

QRect BasketPicture::settingRect(int side) {
    const int s = side / 5;
    return QRect(side - s - 7, 5, s + 2, s + 2);
}

void BasketPicture::paintBasket(QPainter& p, const QRectF& r) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = r.width(), h = r.height();
    // The handle over the basket.
    p.setPen(QPen(QColor(150, 96, 40), w * 0.07, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(r.left() + w * 0.22, r.top() + h * 0.04, w * 0.56, h * 0.62), 0, 180 * 16);
    // The body: a trapezoid, woven.
    QPainterPath body;
    body.moveTo(r.left() + w * 0.08, r.top() + h * 0.42);
    body.lineTo(r.right() - w * 0.08, r.top() + h * 0.42);
    body.lineTo(r.right() - w * 0.2, r.bottom() - h * 0.04);
    body.lineTo(r.left() + w * 0.2, r.bottom() - h * 0.04);
    body.closeSubpath();
    QLinearGradient wicker(r.topLeft(), r.bottomLeft());
    wicker.setColorAt(0, QColor(238, 190, 110));
    wicker.setColorAt(1, QColor(180, 118, 52));
    p.setPen(QPen(QColor(120, 74, 28), qMax<qreal>(1.0, w * 0.025)));
    p.setBrush(wicker);
    p.drawPath(body);
    p.setClipPath(body);
    p.setPen(QPen(QColor(140, 88, 34, 170), qMax<qreal>(0.8, w * 0.018)));
    for (int i = 1; i < 4; ++i) {
        const qreal y = r.top() + h * (0.42 + i * 0.13);
        p.drawLine(QPointF(r.left(), y), QPointF(r.right(), y));
    }
    for (int i = 1; i < 6; ++i) {
        const qreal x = r.left() + w * (0.08 + i * 0.14);
        p.drawLine(QPointF(x, r.top() + h * 0.42),
                   QPointF(x + (x - r.center().x()) * -0.25, r.bottom()));
    }
    p.setClipping(false);
    // The rim.
    p.setPen(QPen(QColor(120, 74, 28), qMax<qreal>(1.0, w * 0.025)));
    p.setBrush(QColor(214, 158, 82));
    p.drawRoundedRect(QRectF(r.left() + w * 0.04, r.top() + h * 0.36, w * 0.92, h * 0.1), w * 0.04,
                      w * 0.04);
    p.restore();
}

void BasketPicture::paint(QPainter& p, int side, bool enabled) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF tile(0.5, 0.5, side - 1, side - 1);
    QLinearGradient glass(0, 0, 0, side);
    glass.setColorAt(0, QColor(112, 156, 224));
    glass.setColorAt(0.5, QColor(66, 112, 190));
    glass.setColorAt(1, QColor(40, 78, 150));
    p.setPen(QPen(QColor(30, 56, 110), 1));
    p.setBrush(glass);
    p.drawRoundedRect(tile, 12, 12);
    // The gloss over the upper half.
    QLinearGradient gloss(0, 0, 0, side / 2.0);
    gloss.setColorAt(0, QColor(255, 255, 255, 110));
    gloss.setColorAt(1, QColor(255, 255, 255, 10));
    p.setPen(Qt::NoPen);
    p.setBrush(gloss);
    p.drawRoundedRect(QRectF(3, 3, side - 6, side / 2.0 - 3), 10, 10);
    const qreal b = side * 0.42;
    paintBasket(p, QRectF((side - b) / 2, side * 0.08, b, b));
    PaintFolderMark(p, QRectF(quickFolderRect(side)).adjusted(2, 3, -2, -1));
    PaintGearMark(p, QRectF(settingRect(side)).adjusted(1, 1, -1, -1));
    if (!enabled) {
        p.setBrush(QColor(255, 255, 255, 40));
        p.drawRoundedRect(tile, 12, 12);
    }
    p.restore();
}

QIcon BasketPicture::trayIcon(bool automatic) {
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48, 64}) {
        QPixmap pm(size, size);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        paintBasket(p, QRectF(0, 0, size, size));
        if (automatic) {
            // A green clock badge: the watched folders are being checked.
            const qreal d = size * 0.5;
            const QRectF badge(size - d, size - d, d - 0.5, d - 0.5);
            p.setPen(QPen(Qt::white, qMax<qreal>(1.0, size / 20.0)));
            p.setBrush(QColor(46, 160, 67));
            p.drawEllipse(badge);
            p.drawLine(badge.center(), badge.center() - QPointF(0, d * 0.3));
            p.drawLine(badge.center(), badge.center() + QPointF(d * 0.22, 0));
        }
        p.end();
        icon.addPixmap(pm);
    }
    return icon;
}

}  // namespace vandrel
