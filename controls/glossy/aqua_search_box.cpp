#include "aqua_search_box.h"

#include <QEvent>
#include <QLineEdit>
#include <QLinearGradient>
#include <QPainter>

#include "glossy_paint.h"
#include "twips.h"

namespace vitreon {

AquaSearchBox::AquaSearchBox(QWidget* parent) : QWidget(parent), text_(new QLineEdit(this)) {
    text_->setObjectName(QStringLiteral("txtSearch"));
    text_->setFrame(false);
    text_->setAccessibleName(tr("Search"));
    // The field is painted by the frame, so the text box must not cover it with its own.
    QPalette pal = text_->palette();
    pal.setColor(QPalette::Base, Qt::transparent);
    text_->setPalette(pal);
    text_->installEventFilter(this);
    setFocusProxy(text_);
    setAccessibleName(tr("Search"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setFixedHeight(sizeHint().height());
    resize(sizeHint());
    placeTextBox();  // a hidden control gets its resize event only when shown
}

QString AquaSearchBox::Text() const { return text_->text(); }
void AquaSearchBox::setText(const QString& text) { text_->setText(text); }

QSize AquaSearchBox::sizeHint() const {
    const int textHeight = text_->fontMetrics().height() + 4;
    return {200, std::max(24, textHeight + 2 * twipsToPixels(kTextTopTwips))};
}

QSize AquaSearchBox::minimumSizeHint() const {
    return {twipsToPixels(kTextLeftTwips) + 40 + sizeHint().height(), sizeHint().height()};
}

void AquaSearchBox::placeTextBox() {
    const int left = twipsToPixels(kTextLeftTwips), top = twipsToPixels(kTextTopTwips);
    text_->setGeometry(left, top, std::max(0, width() - left - decorationWidth()),
                       height() - 2 * top);
}

void AquaSearchBox::resizeEvent(QResizeEvent* event) {
    placeTextBox();
    QWidget::resizeEvent(event);
}

bool AquaSearchBox::eventFilter(QObject* watched, QEvent* event) {
    // The focus ring belongs to the frame, which must repaint when its text box gains focus.
    if (watched == text_ &&
        (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) {
        update();
    }
    return QWidget::eventFilter(watched, event);
}

void AquaSearchBox::mousePressEvent(QMouseEvent* event) {
    // A click on the frame or the glass goes to the text box, as users expect of a field.
    text_->setFocus(Qt::MouseFocusReason);
    QWidget::mousePressEvent(event);
}

void AquaSearchBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, true);
    if (!isEnabled()) p.setOpacity(0.45);
    const QRectF field = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -1.5);
    const QPainterPath shape = roundedShape(field, field.height() / 2.0);
    // A white field, sunk into the window: a shade along its top edge, a light line below.
    p.setPen(QPen(QColor(255, 255, 255, 180), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawPath(shape.translated(0, 1));
    QLinearGradient fill(field.topLeft(), field.bottomLeft());
    fill.setColorAt(0.0, QColor(0xe4, 0xe7, 0xeb));
    fill.setColorAt(0.18, Qt::white);
    fill.setColorAt(1.0, Qt::white);
    p.setBrush(fill);
    p.setPen(QPen(QColor(0x8d, 0x94, 0x9e), 1.0));
    p.drawPath(shape);

    // The magnifying glass at the right edge.
    const qreal d = height() * 0.36;
    const QPointF c(width() - decorationWidth() / 2.0 - 1, height() / 2.0 - 2);
    QPainterPath glass;
    glass.addEllipse(c, d / 2, d / 2);
    glass.moveTo(c.x() + d * 0.36, c.y() + d * 0.36);
    glass.lineTo(c.x() + d * 0.8, c.y() + d * 0.8);
    paintGlyph(p, glass, QColor(0x5c, 0x64, 0x70), 1.7);

    if (text_->hasFocus())
        paintFocusRing(p, roundedShape(field.adjusted(0.5, 0.5, -0.5, -0.5), field.height() / 2.0));
}

}  // namespace vitreon
