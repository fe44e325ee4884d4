#include "aqua_button.h"

#include <QEvent>
#include <QPainter>
#include <algorithm>

#include "glossy_paint.h"
#include "twips.h"

namespace vitreon {
namespace {
// The middle strip is this wide and is stretched between the caps; the gel is the same in
// every column there, so stretching it loses nothing.
constexpr int kMiddleWidth = 2;
}  // namespace

AquaButton::AquaButton(QWidget* parent) : ImageButton(QSize(80, 22), tr("Button"), parent) {
    setMinimumSize(twipsToPixels(kMinWidthTwips), cellHeight());
    setMaximumSize(twipsToPixels(kMaxWidthTwips), cellHeight());
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    resize(sizeHint());
}

void AquaButton::setCaption(const QString& caption) {
    caption_ = caption;
    // Assistive technology reads the caption; a button without one still has a name.
    setAccessibleName(caption.isEmpty() ? tr("Button") : caption);
    updateGeometry();
    update();
}

int AquaButton::cellHeight() const {
    // The caption at its top offset, as much room again below it, and a pixel each for the
    // caption's and the gel's shadows; never below the look's own height.
    return std::max(22, fontMetrics().height() + 2 * twipsToPixels(kCaptionTopTwips) + 2);
}

int AquaButton::capWidth() const { return height() / 2; }

QSize AquaButton::sizeHint() const {
    const int w = fontMetrics().horizontalAdvance(caption_) + 2 * capWidth() + 16;
    return {std::clamp(w, minimumWidth(), maximumWidth()), cellHeight()};
}

QSize AquaButton::minimumSizeHint() const { return minimumSize(); }

QPainterPath AquaButton::outline(const QRectF& cell) const {
    return roundedShape(cell, cell.height() / 2.0);
}

void AquaButton::paintImage(QPainter& p, const QRectF& cell, bool pressed) const {
    paintGel(p, roundedShape(cell.adjusted(0, 0, 0, -1), (cell.height() - 1) / 2.0), Gel::Aqua,
             pressed);
}

void AquaButton::makeStrips(qreal dpr) {
    const int h = height(), cap = capWidth();
    const QSizeF face(2 * cap + kMiddleWidth, h);
    // Each strip is a window onto the same whole face, so the three parts join seamlessly.
    auto part = [&](ImageStrip& strip, int width, qreal faceLeft) {
        strip.paint(dpr, QSize(width, h), 2, [&](QPainter& p, const QRectF&, int index) {
            paintImage(p, QRectF(QPointF(faceLeft, 0), face), index == 1);
        });
    };
    part(capLeft_, cap, 0);
    part(middle_, kMiddleWidth, -cap);
    part(capRight_, cap, -(cap + kMiddleWidth));
}

void AquaButton::paintEvent(QPaintEvent*) {
    const qreal dpr = devicePixelRatioF();
    const int cap = capWidth();
    if (!capLeft_.fits(dpr, QSize(cap, height()))) makeStrips(dpr);
    QPainter p(this);
    if (!isEnabled()) p.setOpacity(0.45);
    const int cell = shownCell();
    capLeft_.drawCell(p, QPointF(0, 0), cell);
    middle_.drawCell(p, QPointF(cap, 0), cell, QSizeF(width() - 2 * cap, height()));
    capRight_.drawCell(p, QPointF(width() - cap, 0), cell);

    // The caption sinks by one pixel while pressed and is back at its top when released.
    const int top = twipsToPixels(kCaptionTopTwips) + (isPressed() ? 1 : 0);
    const QRectF textBox(cap / 2.0, top, width() - cap, height() - top);
    const QString shown =
        fontMetrics().elidedText(caption_, Qt::ElideRight, textBox.toRect().width());
    // A disabled button fades, and its caption turns slate so it stays legible on the pale gel.
    if (!isEnabled()) p.setOpacity(1.0);
    paintCaption(p, textBox, shown, isEnabled() ? QColor(Qt::white) : QColor(0x4a, 0x5b, 0x73));
    if (hasFocus()) paintFocusRing(p, outline(QRectF(rect()).adjusted(1, 1, -1, -2)));
}

void AquaButton::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        setFixedHeight(cellHeight());
        updateGeometry();
    }
    ImageButton::changeEvent(event);
}

}  // namespace vitreon
