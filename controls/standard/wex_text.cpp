#include "wex_text.h"

#include <QEvent>

#include "wex_twips.h"

namespace wexcontrols {

WexText::WexText(QWidget* parent) : WexControl(Look::Field, parent), oText_(new QLineEdit(this)) {
    oText_->setObjectName(QStringLiteral("oText"));
    oText_->setFrame(false);
    // Typed text starts where the other fields' captions start (165 twips).
    oText_->setTextMargins(TextIndent(TwipsToPixels(45)), 0, 0, 0);
    oText_->setAccessibleName(QStringLiteral("Text"));
    oText_->setText(objectName());
    captionLabel()->hide();
    setFocusProxy(oText_);
    oText_->installEventFilter(this);
    connect(this, &QObject::objectNameChanged, this, [this] {
        if (!textSet_) oText_->setText(objectName());
    });
    connect(oText_, &QLineEdit::textEdited, this, [this](const QString& text) {
        textSet_ = true;
        markChanged();
        emit textEdited(text);
    });
    layoutParts();
}

void WexText::setText(const QString& text) {
    textSet_ = true;
    if (oText_->text() == text) return;
    oText_->setText(text);
    markChanged();
}

void WexText::ReadProperties(const QVariantMap& bag) {
    setText(ReadText(bag, QStringLiteral("Text"), objectName()));
    clearChanged();
}

QVariantMap WexText::WriteProperties() const { return {{QStringLiteral("Text"), Text()}}; }

bool WexText::eventFilter(QObject* watched, QEvent* event) {
    // The field draws the focus ring for its text box.
    if (watched == oText_ &&
        (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) {
        update();
    }
    return WexControl::eventFilter(watched, event);
}

void WexText::layoutParts() {
    WexControl::layoutParts();
    placeTextBox(oText_);
}

}  // namespace wexcontrols
