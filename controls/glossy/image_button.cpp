#include "image_button.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "glossy_paint.h"
#include "vitreon_accessible.h"

namespace vitreon {

ImageButton::ImageButton(QSize cell, const QString& accessibleName, QWidget* parent)
    : QWidget(parent), cell_(cell) {
    VitreonAccessible::install();
    setFixedSize(cell_);
    // Tab focus only: a mouse click must not pull the focus away from, say, a text box.
    setFocusPolicy(Qt::TabFocus);
    setAccessibleName(accessibleName);
}

QSize ImageButton::sizeHint() const { return cell_; }

void ImageButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const qreal dpr = devicePixelRatioF();
    if (!strip_.fits(dpr, cell_)) {
        strip_.paint(dpr, cell_, 2, [this](QPainter& sp, const QRectF& r, int index) {
            paintImage(sp, r, index == 1);
        });
    }
    if (!isEnabled()) p.setOpacity(0.45);
    strip_.drawCell(p, QPointF(0, 0), shownCell());
    if (hasFocus()) paintFocusRing(p, outline(QRectF(rect()).adjusted(1, 1, -1, -1)));
}

void ImageButton::setPressed(bool pressed) {
    if (pressed_ == pressed) return;
    pressed_ = pressed;
    // Paint now, so the pressed cell shows even when the Click handler runs for a while.
    repaint();
}

void ImageButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    mouseDown_ = true;
    setPressed(true);
}

void ImageButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !mouseDown_) return QWidget::mouseReleaseEvent(event);
    mouseDown_ = false;
    setPressed(false);
    emit Click();
}

void ImageButton::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Space:
            if (!event->isAutoRepeat()) setPressed(true);
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (!event->isAutoRepeat()) emit Click();
            return;
        default:
            QWidget::keyPressEvent(event);
    }
}

void ImageButton::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat() && pressed_ && !mouseDown_) {
        setPressed(false);
        emit Click();
        return;
    }
    QWidget::keyReleaseEvent(event);
}

void ImageButton::focusOutEvent(QFocusEvent* event) {
    // A Space held while the focus leaves must not leave the button looking pressed.
    if (!mouseDown_) setPressed(false);
    QWidget::focusOutEvent(event);
}

}  // namespace vitreon
