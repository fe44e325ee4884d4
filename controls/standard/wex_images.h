// The flat images of the standard controls, painted with QPainter into strips: one palette
// and one line weight for all of them so the set looks of a piece.
#pragma once

#include <QColor>
#include <QIcon>
#include <QRectF>

#include "wex_strip.h"

class QPainter;

namespace wexcontrols::images {

inline const QColor kBorder{0x9a, 0xa4, 0xb1};
inline const QColor kAccent{0x2f, 0x6f, 0xdb};
inline const QColor kFace{0xff, 0xff, 0xff};
inline const QColor kFacePressed{0xdc, 0xe7, 0xfa};
inline const QColor kFaceDisabled{0xf1, 0xf3, 0xf5};
inline const QColor kGlyph{0x3c, 0x46, 0x54};
inline const QColor kGlyphDisabled{0xb4, 0xbb, 0xc4};

// The image button strip: 5 columns (add, del, up, down, close) by 3 rows (normal, pressed,
// disabled).
WexStrip::CellPainter ButtonCells();
// Radio marks: 2 columns (off, on). Check marks: 3 columns (off, on, mixed).
WexStrip::CellPainter RadioCells();
WexStrip::CellPainter CheckCells();
// The expander: 1 column by 2 rows (collapsed, expanded).
WexStrip::CellPainter ExpandCells();

// Single-cell decorations at the right edge of the field-like controls.
enum class Decoration { DropDown, Insert, Calendar, Folder, File };
WexStrip::CellPainter DecorationCell(Decoration kind);

// A chevron icon of `side` logical pixels, crisp at ratios 1 and 2 (for tool buttons).
QIcon ChevronIcon(Qt::ArrowType direction, int side);

// The face of a field (white, thin border) or a flat button, in `rect`.
void PaintField(QPainter& p, const QRectF& rect, bool enabled);
void PaintButtonFace(QPainter& p, const QRectF& rect, bool pressed, bool enabled);
// The keyboard-focus ring drawn just inside `rect`.
void PaintFocusRing(QPainter& p, const QRectF& rect);

}  // namespace wexcontrols::images
