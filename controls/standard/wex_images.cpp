#include "wex_images.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace wexcontrols::images {
namespace {

constexpr qreal kRadius = 3.0;

QPen GlyphPen(const QColor& color, qreal width) {
    QPen pen(color, width);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

// A square of side `side` centred in `cell`, for glyphs that must not stretch.
QRectF CentredSquare(const QRectF& cell, qreal side) {
    return QRectF(cell.center().x() - side / 2, cell.center().y() - side / 2, side, side);
}

void Chevron(QPainter& p, const QRectF& box, Qt::ArrowType direction) {
    const qreal l = box.left(), r = box.right(), t = box.top(), b = box.bottom();
    const qreal cx = box.center().x(), cy = box.center().y();
    QPolygonF line;
    switch (direction) {
        case Qt::UpArrow:
            line << QPointF(l, cy + box.height() / 4) << QPointF(cx, cy - box.height() / 4)
                 << QPointF(r, cy + box.height() / 4);
            break;
        case Qt::DownArrow:
            line << QPointF(l, cy - box.height() / 4) << QPointF(cx, cy + box.height() / 4)
                 << QPointF(r, cy - box.height() / 4);
            break;
        case Qt::RightArrow:
            line << QPointF(cx - box.width() / 4, t) << QPointF(cx + box.width() / 4, cy)
                 << QPointF(cx - box.width() / 4, b);
            break;
        default:
            line << QPointF(cx + box.width() / 4, t) << QPointF(cx - box.width() / 4, cy)
                 << QPointF(cx + box.width() / 4, b);
            break;
    }
    p.drawPolyline(line);
}

void ButtonGlyph(QPainter& p, int style, const QRectF& box) {
    const QPointF c = box.center();
    const qreal h = box.width() / 2;
    switch (style) {
        case 0:  // add
            p.drawLine(QPointF(c.x() - h, c.y()), QPointF(c.x() + h, c.y()));
            p.drawLine(QPointF(c.x(), c.y() - h), QPointF(c.x(), c.y() + h));
            break;
        case 1:  // del
            p.drawLine(QPointF(c.x() - h, c.y()), QPointF(c.x() + h, c.y()));
            break;
        case 2:
            Chevron(p, box, Qt::UpArrow);
            break;
        case 3:
            Chevron(p, box, Qt::DownArrow);
            break;
        default: {  // close
            const qreal d = h * 0.8;
            p.drawLine(QPointF(c.x() - d, c.y() - d), QPointF(c.x() + d, c.y() + d));
            p.drawLine(QPointF(c.x() - d, c.y() + d), QPointF(c.x() + d, c.y() - d));
            break;
        }
    }
}

}  // namespace

void PaintField(QPainter& p, const QRectF& rect, bool enabled) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kBorder, 1));
    p.setBrush(enabled ? kFace : kFaceDisabled);
    p.drawRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), kRadius, kRadius);
    p.restore();
}

void PaintButtonFace(QPainter& p, const QRectF& rect, bool pressed, bool enabled) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(pressed ? kAccent : kBorder, 1));
    p.setBrush(!enabled ? kFaceDisabled : pressed ? kFacePressed : kFace);
    p.drawRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), kRadius, kRadius);
    p.restore();
}

void PaintFocusRing(QPainter& p, const QRectF& rect) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kAccent, 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(rect.adjusted(0.75, 0.75, -0.75, -0.75), kRadius, kRadius);
    p.restore();
}

QIcon ChevronIcon(Qt::ArrowType direction, int side) {
    QIcon icon;
    for (const qreal ratio : {1.0, 2.0}) {
        QPixmap pixmap(QSize(side, side) * ratio);
        pixmap.setDevicePixelRatio(ratio);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(GlyphPen(kGlyph, 1.6));
        Chevron(p, CentredSquare(QRectF(0, 0, side, side), side * 0.5), direction);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

WexStrip::CellPainter ButtonCells() {
    return [](QPainter& p, int column, int row, const QRectF& cell) {
        const QRectF face = cell.adjusted(1, 1, -1, -1);
        PaintButtonFace(p, face, row == 1, row != 2);
        p.setPen(GlyphPen(row == 2 ? kGlyphDisabled : row == 1 ? kAccent : kGlyph, 1.6));
        const qreal side = std::min(face.width(), face.height()) * 0.44;
        ButtonGlyph(p, column, CentredSquare(face, side));
    };
}

WexStrip::CellPainter RadioCells() {
    return [](QPainter& p, int column, int, const QRectF& cell) {
        const qreal side = std::min(cell.width(), cell.height()) - 2;
        const QRectF ring = CentredSquare(cell, side).adjusted(0.5, 0.5, -0.5, -0.5);
        p.setPen(QPen(column == 1 ? kAccent : kBorder, 1));
        p.setBrush(kFace);
        p.drawEllipse(ring);
        if (column == 1) {
            p.setPen(Qt::NoPen);
            p.setBrush(kAccent);
            p.drawEllipse(CentredSquare(cell, side * 0.5));
        }
    };
}

WexStrip::CellPainter CheckCells() {
    return [](QPainter& p, int column, int, const QRectF& cell) {
        const qreal side = std::min(cell.width(), cell.height()) - 2;
        const QRectF box = CentredSquare(cell, side).adjusted(0.5, 0.5, -0.5, -0.5);
        p.setPen(QPen(column == 0 ? kBorder : kAccent, 1));
        p.setBrush(column == 0 ? kFace : kAccent);
        p.drawRoundedRect(box, 2.5, 2.5);
        p.setPen(GlyphPen(kFace, 1.8));
        const QRectF g = CentredSquare(cell, side * 0.56);
        if (column == 1) {
            p.drawPolyline(QPolygonF() << QPointF(g.left(), g.center().y())
                                       << QPointF(g.left() + g.width() * 0.38, g.bottom() - 1)
                                       << QPointF(g.right(), g.top() + 1));
        } else if (column == 2) {
            p.drawLine(QPointF(g.left(), g.center().y()), QPointF(g.right(), g.center().y()));
        }
    };
}

WexStrip::CellPainter ExpandCells() {
    return [](QPainter& p, int, int row, const QRectF& cell) {
        p.setPen(GlyphPen(kGlyph, 1.6));
        const qreal side = std::min(cell.width(), cell.height()) * 0.4;
        Chevron(p, CentredSquare(cell, side), row == 0 ? Qt::RightArrow : Qt::DownArrow);
    };
}

WexStrip::CellPainter DecorationCell(Decoration kind) {
    return [kind](QPainter& p, int, int, const QRectF& cell) {
        const qreal side = std::min(cell.width(), cell.height());
        p.setPen(GlyphPen(kGlyph, 1.3));
        p.setBrush(Qt::NoBrush);
        switch (kind) {
            case Decoration::DropDown:
                Chevron(p, CentredSquare(cell, side * 0.4), Qt::DownArrow);
                break;
            case Decoration::Insert: {
                const QRectF g = CentredSquare(cell, side * 0.4);
                p.drawLine(QPointF(g.left(), g.center().y()), QPointF(g.right(), g.center().y()));
                p.drawLine(QPointF(g.center().x(), g.top()), QPointF(g.center().x(), g.bottom()));
                break;
            }
            case Decoration::Calendar: {
                const QRectF g = CentredSquare(cell, side * 0.56);
                p.drawRoundedRect(g, 1.5, 1.5);
                p.drawLine(QPointF(g.left(), g.top() + g.height() * 0.3),
                           QPointF(g.right(), g.top() + g.height() * 0.3));
                p.setPen(Qt::NoPen);
                p.setBrush(kAccent);
                p.drawRect(QRectF(g.left() + g.width() * 0.55, g.top() + g.height() * 0.52,
                                  g.width() * 0.25, g.height() * 0.25));
                break;
            }
            case Decoration::Folder: {
                const QRectF g = CentredSquare(cell, side * 0.6);
                QPainterPath path;
                const qreal top = g.top() + g.height() * 0.18;
                path.moveTo(g.left(), g.bottom() - g.height() * 0.12);
                path.lineTo(g.left(), top);
                path.lineTo(g.left() + g.width() * 0.38, top);
                path.lineTo(g.left() + g.width() * 0.5, top + g.height() * 0.14);
                path.lineTo(g.right(), top + g.height() * 0.14);
                path.lineTo(g.right(), g.bottom() - g.height() * 0.12);
                path.closeSubpath();
                p.drawPath(path);
                break;
            }
            case Decoration::File: {
                const QRectF g = CentredSquare(cell, side * 0.6);
                const qreal fold = g.width() * 0.3;
                const qreal l = g.left() + g.width() * 0.14, r = g.right() - g.width() * 0.14;
                QPainterPath path;
                path.moveTo(l, g.top());
                path.lineTo(r - fold, g.top());
                path.lineTo(r, g.top() + fold);
                path.lineTo(r, g.bottom());
                path.lineTo(l, g.bottom());
                path.closeSubpath();
                path.moveTo(r - fold, g.top());
                path.lineTo(r - fold, g.top() + fold);
                path.lineTo(r, g.top() + fold);
                p.drawPath(path);
                break;
            }
        }
    };
}

}  // namespace wexcontrols::images
