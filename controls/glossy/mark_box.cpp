#include "mark_box.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "glossy_paint.h"
#include "vitreon_accessible.h"

namespace vitreon {
namespace {
constexpr int kGap = 6;     // between the mark and the caption
constexpr int kMargin = 3;  // around the mark, room for the focus ring
}  // namespace

MarkBox::MarkBox(int markSize, const QString& caption, QWidget* parent)
    : QWidget(parent), markSize_(markSize) {
    VitreonAccessible::install();
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setCaption(caption);
    resize(sizeHint());
}

void MarkBox::setCaption(const QString& caption) {
    caption_ = caption;
    setAccessibleName(caption);
    updateGeometry();
    update();
}

void MarkBox::setValue(qint16 value) {
    value_ = value;
    update();
}

QSize MarkBox::sizeHint() const {
    const int text = caption_.isEmpty() ? 0 : kGap + fontMetrics().horizontalAdvance(caption_) + 2;
    return {kMargin + markSize_ + text,
            std::max(markSize_ + 2 * kMargin, fontMetrics().height() + 2)};
}

QRectF MarkBox::markRect() const {
    return QRectF(kMargin, std::floor((height() - markSize_) / 2.0), markSize_, markSize_);
}

void MarkBox::click() {
    toggle();
    update();
    emit Click();
}

void MarkBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    mouseDown_ = true;
}

void MarkBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !mouseDown_) return QWidget::mouseReleaseEvent(event);
    mouseDown_ = false;
    if (rect().contains(event->position().toPoint())) click();
}

void MarkBox::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Space:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (!event->isAutoRepeat()) click();
            return;
        default:
            QWidget::keyPressEvent(event);
    }
}

void MarkBox::paintEvent(QPaintEvent*) {
    const qreal dpr = devicePixelRatioF();
    const QSize cell(markSize_, markSize_ + 1);  // one pixel for the gel's shadow
    if (!strip_.fits(dpr, cell)) {
        strip_.paint(dpr, cell, 2, [this](QPainter& p, const QRectF& r, int index) {
            paintMark(p, QRectF(r.left(), r.top(), markSize_, markSize_), index == 1);
        });
    }
    QPainter p(this);
    if (!isEnabled()) p.setOpacity(0.45);
    const QRectF mark = markRect();
    strip_.drawCell(p, mark.topLeft(), shownCell());
    if (!caption_.isEmpty()) {
        const qreal left = mark.right() + kGap;
        const QRectF box(left, (height() - fontMetrics().height()) / 2.0, width() - left,
                         fontMetrics().height());
        const QString text =
            fontMetrics().elidedText(caption_, Qt::ElideRight, box.toRect().width());
        p.setPen(palette().color(QPalette::WindowText));
        p.drawText(box, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
    }
    if (hasFocus()) paintFocusRing(p, markOutline(mark.adjusted(-1, -1, 1, 1)));
}

}  // namespace vitreon
