#include "aqua_tab.h"

#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "glossy_paint.h"
#include "vitreon_accessible.h"

namespace vitreon {

AquaTab::AquaTab(QWidget* parent) : QWidget(parent) {
    VitreonAccessible::install();
    setFocusPolicy(Qt::TabFocus);
    setAccessibleName(tr("Tabs"));
    setTabCaptions({tr("Rules"), tr("Folders"), tr("Log"), tr("Information")});
}

void AquaTab::setTabCaptions(const QStringList& captions) {
    captions_ = captions.mid(0, kTabCount);
    while (captions_.size() < kTabCount) captions_.append(QString());
    setAccessibleDescription(captions_.at(shownTab_ - 1));
    refit();
}

int AquaTab::tabHeight() const { return std::max(26, fontMetrics().height() + 12); }

int AquaTab::tabWidth() const {
    int widest = 0;
    for (const QString& c : captions_)
        widest = std::max(widest, fontMetrics().horizontalAdvance(c));
    return std::max(90, widest + 28);
}

QSize AquaTab::sizeHint() const { return {tabWidth() * kTabCount, tabHeight()}; }

void AquaTab::refit() {
    // The control is as wide as the strip and one tab high.
    setFixedSize(sizeHint());
    strip_ = ImageStrip();  // the captions are part of the image
    update();
}

int AquaTab::tabAt(int x) const {
    return std::clamp(x / std::max(1, tabWidth()) + 1, 1, kTabCount);
}

QRectF AquaTab::tabRect(int tabNum) const {
    return QRectF((tabNum - 1) * tabWidth(), 0, tabWidth(), tabHeight() - 1);
}

void AquaTab::SwitchTab(int tabNum) {
    if (tabNum < 1 || tabNum > kTabCount) return;
    shownTab_ = tabNum;
    setAccessibleDescription(captions_.at(tabNum - 1));
    update();
    emit TabClick(tabNum);
}

void AquaTab::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    pressedTab_ = tabAt(static_cast<int>(event->position().x()));
}

void AquaTab::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || pressedTab_ == 0) {
        return QWidget::mouseReleaseEvent(event);
    }
    const int tab = pressedTab_;
    pressedTab_ = 0;
    // A click is a press and a release over the control, like any click.
    if (rect().contains(event->position().toPoint())) SwitchTab(tab);
}

void AquaTab::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Left:
            if (shownTab_ > 1) SwitchTab(shownTab_ - 1);
            return;
        case Qt::Key_Right:
            if (shownTab_ < kTabCount) SwitchTab(shownTab_ + 1);
            return;
        case Qt::Key_Home:
            return SwitchTab(1);
        case Qt::Key_End:
            return SwitchTab(kTabCount);
        case Qt::Key_Space:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return SwitchTab(shownTab_);
        default:
            QWidget::keyPressEvent(event);
    }
}

void AquaTab::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) refit();
    QWidget::changeEvent(event);
}

void AquaTab::paintState(QPainter& p, const QRectF& cell, int chosen) const {
    const QRectF bar(cell.left(), cell.top(), cell.width(), cell.height() - 1);
    const QPainterPath shape = roundedShape(bar, 7);
    paintGel(p, shape, Gel::Silver, false);
    // The chosen tab is the same bar in blue gel, cut to its own segment.
    const QRectF seg = tabRect(chosen).translated(cell.topLeft());
    p.save();
    p.setClipRect(seg.adjusted(0, -1, 0, 2));
    paintGel(p, shape, Gel::Aqua, false);
    p.restore();
    p.save();
    for (int t = 1; t < kTabCount; ++t) {
        if (t == chosen || t + 1 == chosen) continue;  // the blue segment brings its own edge
        const qreal x = bar.left() + t * tabWidth() + 0.5;
        p.setPen(QColor(0x86, 0x8c, 0x96, 170));
        p.drawLine(QPointF(x, bar.top() + 3), QPointF(x, bar.bottom() - 3));
        p.setPen(QColor(255, 255, 255, 150));
        p.drawLine(QPointF(x + 1, bar.top() + 3), QPointF(x + 1, bar.bottom() - 3));
    }
    p.restore();
    for (int t = 1; t <= kTabCount; ++t) {
        const QRectF r = tabRect(t).translated(cell.topLeft());
        const qreal top = r.top() + (r.height() - p.fontMetrics().height()) / 2.0;
        const QString text =
            p.fontMetrics().elidedText(captions_.at(t - 1), Qt::ElideRight, tabWidth() - 8);
        paintCaption(p, QRectF(r.left(), top, r.width(), r.height()), text,
                     t == chosen ? QColor(Qt::white) : captionColor());
    }
}

void AquaTab::paintEvent(QPaintEvent*) {
    const qreal dpr = devicePixelRatioF();
    const QSize cell(width(), tabHeight());
    if (!strip_.fits(dpr, cell)) {
        strip_.paint(dpr, cell, kTabCount, [this](QPainter& p, const QRectF& r, int index) {
            p.setFont(font());
            paintState(p, r, index + 1);
        });
    }
    QPainter p(this);
    if (!isEnabled()) p.setOpacity(0.45);
    // Tab n shows the strip moved up by n - 1 tab heights.
    strip_.drawCell(p, QPointF(0, 0), shownTab_ - 1);
    if (hasFocus()) paintFocusRing(p, roundedShape(tabRect(shownTab_).adjusted(2, 2, -2, -2), 5));
}

}  // namespace vitreon
