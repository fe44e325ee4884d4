#include "aqua_v_scroll_bar.h"

#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "glossy_paint.h"
#include "twips.h"
#include "vitreon_accessible.h"

namespace vitreon {
namespace {
constexpr int kWidth = 15;
}

AquaVScrollBar::AquaVScrollBar(QWidget* parent) : QWidget(parent) {
    VitreonAccessible::install();
    setFixedWidth(kWidth);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    setFocusPolicy(Qt::TabFocus);
    setAccessibleName(tr("Scroll bar"));
    resize(sizeHint());
}

QSize AquaVScrollBar::sizeHint() const { return {kWidth, 150}; }

int AquaVScrollBar::thumbHeightTwips() const { return pixelsToTwips(height()) / 3; }
int AquaVScrollBar::trackTwips() const { return pixelsToTwips(height()) - thumbHeightTwips(); }

double AquaVScrollBar::pageStep() const {
    return (static_cast<double>(max_) - static_cast<double>(min_)) / 5.0;
}
double AquaVScrollBar::lineStep() const { return std::max(1.0, pageStep() / 4.0); }

void AquaVScrollBar::moveTo(qint32 value) {
    value_ = value;
    // 64-bit and floating arithmetic: Max - Min may not fit in 32 bits.
    const double range = static_cast<double>(max_) - static_cast<double>(min_);
    thumbTop_ =
        static_cast<int>(std::lround(trackTwips() * (static_cast<double>(value_) - min_) / range));
    update();
    emit Scroll(value_);
}

void AquaVScrollBar::stepBy(double delta) {
    // Max = Min (or below) leaves nothing to scroll; without this guard the thumb's place
    // would be a division by zero.
    if (!hasRange()) return;
    const double wanted = std::round(static_cast<double>(value_) + delta);
    moveTo(static_cast<qint32>(
        std::clamp(wanted, static_cast<double>(min_), static_cast<double>(max_))));
}

void AquaVScrollBar::scrollTo(qint32 value) {
    stepBy(static_cast<double>(value) - static_cast<double>(value_));
}

void AquaVScrollBar::dragThumbTo(int topTwips) {
    const int lowest = pixelsToTwips(height()) - thumbHeightTwips() - 1;
    const int top = std::max(1, std::min(topTwips, lowest));
    thumbTop_ = top;
    const int track = trackTwips();
    if (!hasRange() || track <= 0) {
        value_ = min_;
    } else if (top <= 1) {
        // The thumb keeps a twip off each end, which would leave the ends out of reach on a
        // long range; at its end stops the thumb stands for the ends themselves.
        value_ = min_;
    } else if (top >= lowest) {
        value_ = max_;
    } else {
        const double range = static_cast<double>(max_) - static_cast<double>(min_);
        value_ = static_cast<qint32>(std::lround(static_cast<double>(top) / track * range + min_));
    }
    update();
    emit Scroll(value_);
}

void AquaVScrollBar::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    const int y = pixelsToTwips(event->position().y());
    if (y >= thumbTop_ && y < thumbTop_ + thumbHeightTwips()) {
        dragging_ = true;
        grabOffset_ = y - thumbTop_;
        update();
    } else {
        stepBy(y > thumbTop_ ? pageStep() : -pageStep());
    }
}

void AquaVScrollBar::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging_) return QWidget::mouseMoveEvent(event);
    dragThumbTo(pixelsToTwips(event->position().y()) - grabOffset_);
}

void AquaVScrollBar::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mouseReleaseEvent(event);
    dragging_ = false;
    update();
}

void AquaVScrollBar::wheelEvent(QWheelEvent* event) {
    const int notches = event->angleDelta().y() / 120;
    if (notches == 0) return event->ignore();
    stepBy(-notches * lineStep());
    event->accept();
}

void AquaVScrollBar::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Up:
            return stepBy(-lineStep());
        case Qt::Key_Down:
            return stepBy(lineStep());
        case Qt::Key_PageUp:
            return stepBy(-pageStep());
        case Qt::Key_PageDown:
        case Qt::Key_Space:
            return stepBy(pageStep());
        case Qt::Key_Home:
            if (hasRange()) moveTo(min_);
            return;
        case Qt::Key_End:
            if (hasRange()) moveTo(max_);
            return;
        default:
            QWidget::keyPressEvent(event);
    }
}

void AquaVScrollBar::resizeEvent(QResizeEvent* event) {
    // A shorter control must not leave the thumb below its end.
    thumbTop_ = std::clamp(thumbTop_, 0, std::max(0, trackTwips()));
    QWidget::resizeEvent(event);
}

void AquaVScrollBar::paintThumb(QPainter& p, qreal dpr) {
    const int w = width();
    const int thumbH = std::max(w, twipsToPixels(thumbHeightTwips()));
    const int capH = w / 2 + 1;
    const int bodyH = thumbH - capH;
    // Both strips are windows onto one capsule lying on its side, turned upright, so the
    // glass highlight runs down the thumb's left side.
    auto part = [&](ImageStrip& strip, int height, int capsuleTop) {
        strip.paint(dpr, QSize(w, height), 2, [&](QPainter& sp, const QRectF&, int index) {
            sp.translate(0, capsuleTop + thumbH);
            sp.rotate(-90);
            const QRectF lying(0.5, 1.0, thumbH - 1.0, w - 2.0);
            paintGel(sp, roundedShape(lying, lying.height() / 2.0), Gel::Aqua, index == 1);
        });
    };
    if (!picTop_.fits(dpr, QSize(w, bodyH))) {
        part(picTop_, bodyH, 0);
        part(picBtm_, capH, -bodyH);
    }
    const qreal top = std::round(thumbTop_ * dpr / kTwipsPerPixel) / dpr;
    const int cell = dragging_ ? 1 : 0;
    picTop_.drawCell(p, QPointF(0, top), cell);
    picBtm_.drawCell(p, QPointF(0, top + bodyH), cell);
}

void AquaVScrollBar::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, true);
    if (!isEnabled()) p.setOpacity(0.45);
    // The groove: a sunken channel, darker at its edges.
    const QRectF groove = QRectF(rect()).adjusted(2.5, 0.5, -2.5, -0.5);
    QLinearGradient g(groove.topLeft(), groove.topRight());
    g.setColorAt(0.0, QColor(0xc4, 0xc9, 0xd0));
    g.setColorAt(0.45, QColor(0xee, 0xf0, 0xf3));
    g.setColorAt(1.0, QColor(0xd4, 0xd8, 0xde));
    p.setPen(QPen(QColor(0xa3, 0xa9, 0xb2), 1.0));
    p.setBrush(g);
    p.drawPath(roundedShape(groove, groove.width() / 2.0));
    paintThumb(p, devicePixelRatioF());
    if (hasFocus()) paintFocusRing(p, roundedShape(QRectF(rect()).adjusted(1, 1, -1, -1), 6));
}

}  // namespace vitreon
