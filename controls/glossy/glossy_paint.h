// The look shared by all glossy controls: gel-filled shapes (a body gradient, a glass highlight
// over the upper half, a glow at the bottom, a crisp border), the keyboard focus ring and
// captions. Free functions painting with logical coordinates, so they are sharp at any device
// pixel ratio.
#pragma once

#include <QColor>
#include <QPainterPath>
#include <QRectF>
#include <QString>

class QPainter;

namespace vitreon {

enum class Gel { Aqua, Silver, Graphite, Red, Green };

// Fills `shape` with the gel of the given colour; a pressed gel is darker, with a weaker shine.
void paintGel(QPainter& p, const QPainterPath& shape, Gel gel, bool pressed);

// A rounded rectangle (radius clamped to half the shorter side) and a circle filling `r`.
QPainterPath roundedShape(const QRectF& r, qreal radius);
QPainterPath circleShape(const QRectF& r);

// Strokes a glyph (a cross, a plus, an arrow) in `color` with round ends and a faint shadow
// one pixel below, so it looks pressed into the gel.
void paintGlyph(QPainter& p, const QPainterPath& strokes, const QColor& color, qreal width);

// The ring drawn over a control that has the keyboard focus.
void paintFocusRing(QPainter& p, const QPainterPath& shape);

// Draws `text` centred horizontally in `r` with its top at r.top(), with a one-pixel shadow
// (dark below light text, light below dark text) so it reads well on gel.
void paintCaption(QPainter& p, const QRectF& r, const QString& text, const QColor& color);

// The colour of text drawn directly on the window (captions of checks and radios).
QColor captionColor();

}  // namespace vitreon
