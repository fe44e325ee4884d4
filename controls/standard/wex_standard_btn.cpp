#include "wex_standard_btn.h"

#include "wex_twips.h"

namespace wexcontrols {

WexStandardBtn::WexStandardBtn(QWidget* parent) : WexControl(Look::Button, parent) {
    captionLabel()->setAlignment(Qt::AlignCenter);
    // Centred over the whole face rather than from the 165-twip caption left.
    setCaptionLeft(0);
    connect(this, &QObject::objectNameChanged, this, [this] {
        if (!textSet_) setCaptionText(objectName());
    });
    setAccessibleFallback(QStringLiteral("Button"));
    setCaptionText(objectName());
}

void WexStandardBtn::setText(const QString& text) {
    const bool same = textSet_ && text_ == text;
    text_ = text;
    textSet_ = true;
    setCaptionText(text);
    if (!same) markChanged();
}

QSize WexStandardBtn::sizeHint() const {
    const int textWidth = fontMetrics().horizontalAdvance(Text()) + 2 * TwipsToPixels(240);
    return {std::max(TwipsToPixels(1200), textWidth), WexControl::sizeHint().height() + 4};
}

void WexStandardBtn::ReadProperties(const QVariantMap& bag) {
    setText(ReadText(bag, QStringLiteral("Text"), objectName()));
    clearChanged();
}

QVariantMap WexStandardBtn::WriteProperties() const { return {{QStringLiteral("Text"), Text()}}; }

void WexStandardBtn::activate() { emit Click(); }

void WexStandardBtn::layoutParts() {
    WexControl::layoutParts();
    captionLabel()->setGeometry(0, captionLabel()->y(), width(), captionLabel()->height());
    captionLabel()->setText(
        captionLabel()->fontMetrics().elidedText(captionText(), Qt::ElideRight, width() - 4));
}

}  // namespace wexcontrols
