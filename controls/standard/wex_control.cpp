#include "wex_control.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "wex_strip.h"
#include "wex_twips.h"

namespace wexcontrols {

WexControl::WexControl(Look look, QWidget* parent)
    : QWidget(parent),
      look_(look),
      lblCaption_(new QLabel(this)),
      captionLeft_(TwipsToPixels(165)) {
    lblCaption_->setObjectName(QStringLiteral("lblCaption"));
    // Presses on the caption belong to the control (the label has no interaction of its own).
    lblCaption_->setAttribute(Qt::WA_TransparentForMouseEvents);
    lblCaption_->setTextFormat(Qt::PlainText);
    setFocusPolicy(Qt::StrongFocus);
    resize(sizeHint());
}

QSize WexControl::sizeHint() const {
    return {TwipsToPixels(1800), std::max(TwipsToPixels(300), fontMetrics().height() + 4)};
}

int WexControl::TextIndent(int left) {
    // QLineEdit keeps a fixed inner margin of 2 pixels before its own text margin.
    constexpr int kLineEditInner = 2;
    return std::max(0, TwipsToPixels(165) - left - kLineEditInner);
}

void WexControl::markChanged() {
    changed_ = true;
    update();
}

void WexControl::setCaptionText(const QString& text) {
    // The host may have named the control for assistive technology; keep that name.
    const QString ours = caption_.isEmpty() ? accessibleFallback_ : caption_;
    if (accessibleName().isEmpty() || accessibleName() == ours) {
        setAccessibleName(text.isEmpty() ? accessibleFallback_ : text);
    }
    caption_ = text;
    layoutParts();
}

void WexControl::setAccessibleFallback(const QString& name) {
    accessibleFallback_ = name;
    setCaptionText(caption_);
}

void WexControl::setDecoration(WexStrip* strip) {
    picLeft_ = strip;
    picLeft_->setParent(this);
    picLeft_->setObjectName(QStringLiteral("picLeft"));
    picLeft_->show();
    layoutParts();
}

void WexControl::setCaptionLeft(int pixels) { captionLeft_ = pixels; }

void WexControl::setPressed(bool pressed) {
    if (pressed_ == pressed) return;
    pressed_ = pressed;
    update();
}

void WexControl::placeTextBox(QWidget* box) const {
    if (box == nullptr) return;
    const int left = TwipsToPixels(45), top = TwipsToPixels(30);
    box->setGeometry(left, top, std::max(0, width() - 2 * left), std::max(0, height() - 2 * top));
}

void WexControl::layoutParts() {
    int right = width();
    if (picLeft_ != nullptr) {
        const int side = height();
        picLeft_->setGeometry(width() - side, 0, side, side);
        right = picLeft_->x();
    }
    // The caption is centred on the control's height; at the described 300-twip height that
    // is the described top of 37 twips.
    const int textHeight = lblCaption_->fontMetrics().height();
    const int top = std::max(0, (height() - textHeight) / 2);
    const int available = std::max(0, right - captionLeft_ - 2);
    lblCaption_->setGeometry(captionLeft_, top, available, textHeight);
    lblCaption_->setText(
        lblCaption_->fontMetrics().elidedText(caption_, Qt::ElideMiddle, available));
}

void WexControl::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutParts();
}

void WexControl::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Space:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (event->modifiers() & ~Qt::KeypadModifier) break;
            activate();
            event->accept();
            return;
        default:
            break;
    }
    QWidget::keyPressEvent(event);
}

void WexControl::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    event->accept();
    setPressed(true);
}

void WexControl::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !pressed_) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    event->accept();
    setPressed(false);
    // Letting go outside the control takes the press back, as with any button.
    if (rect().contains(event->position().toPoint())) activate();
}

void WexControl::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRectF area = rect();
    if (look_ == Look::Field) images::PaintField(p, area, isEnabled());
    if (look_ == Look::Button) images::PaintButtonFace(p, area, pressed_, isEnabled());
    if (!hasFocus()) return;
    if (look_ != Look::Plain || lblCaption_->isHidden()) {
        images::PaintFocusRing(p, area);
        return;
    }
    // A control without a face shows the focus around its caption, clear of its mark.
    const int textWidth = lblCaption_->fontMetrics().horizontalAdvance(lblCaption_->text());
    const QRect ring(lblCaption_->x() - 4, lblCaption_->y() - 1, textWidth + 8,
                     lblCaption_->height() + 2);
    images::PaintFocusRing(p, QRectF(ring.intersected(rect())));
}

void WexControl::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void WexControl::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    setPressed(false);
    update();
}

QString WexControl::ReadText(const QVariantMap& bag, const QString& name, const QString& def) {
    const QVariant value = bag.value(name);
    if (value.typeId() != QMetaType::QString && value.typeId() != QMetaType::QByteArray) {
        return def;
    }
    return value.toString();
}

bool WexControl::ReadBool(const QVariantMap& bag, const QString& name, bool def) {
    const QVariant value = bag.value(name);
    if (value.typeId() == QMetaType::Bool) return value.toBool();
    const QString text = value.toString().trimmed().toLower();
    if (text == QStringLiteral("true") || text == QStringLiteral("-1") ||
        text == QStringLiteral("1")) {
        return true;
    }
    if (text == QStringLiteral("false") || text == QStringLiteral("0")) return false;
    return def;
}

qint64 WexControl::ReadInteger(const QVariantMap& bag, const QString& name, qint64 def,
                               qint64 lowest, qint64 highest) {
    bool ok = false;
    const qint64 value = bag.value(name).toString().trimmed().toLongLong(&ok);
    return ok && value >= lowest && value <= highest ? value : def;
}

}  // namespace wexcontrols
