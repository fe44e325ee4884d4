#include "wex_expand_btn.h"

#include <QKeyEvent>

#include "wex_strip.h"
#include "wex_twips.h"

namespace wexcontrols {

namespace {
const QString kDefaultText = QStringLiteral("Adv.");
}

WexExpandBtn::WexExpandBtn(QWidget* parent)
    : WexControl(Look::Plain, parent),
      picStrip_(new WexStrip(1, 2, images::ExpandCells(), this)),
      text_(kDefaultText) {
    picStrip_->setObjectName(QStringLiteral("picStrip"));
    setCaptionLeft(TwipsToPixels(360));
    setCaptionText(text_);
    setAccessibleDescription(tr("collapsed"));
    resize(TwipsToPixels(900), height());
}

void WexExpandBtn::setText(const QString& text) {
    if (text == text_) return;
    text_ = text;
    setCaptionText(text);
    markChanged();
}

void WexExpandBtn::setExpanded(bool expanded) {
    if (expanded == expanded_) return;
    expanded_ = expanded;
    // The strip's second image (moved up by one image height) is the expanded one.
    picStrip_->setCell(0, expanded ? 1 : 0);
    setAccessibleDescription(expanded ? tr("expanded") : tr("collapsed"));
    markChanged();
}

void WexExpandBtn::ReadProperties(const QVariantMap& bag) {
    setText(ReadText(bag, QStringLiteral("Text"), kDefaultText));
    setExpanded(ReadBool(bag, QStringLiteral("Expanded"), false));
    clearChanged();
}

QVariantMap WexExpandBtn::WriteProperties() const {
    return {{QStringLiteral("Text"), text_}, {QStringLiteral("Expanded"), expanded_}};
}

void WexExpandBtn::activate() {
    setExpanded(!expanded_);
    emit Click();
}

void WexExpandBtn::layoutParts() {
    WexControl::layoutParts();
    if (picStrip_ == nullptr) return;
    const int side = std::min(height(), TwipsToPixels(360));
    picStrip_->setGeometry(0, (height() - side) / 2, side, side);
}

void WexExpandBtn::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Right && !expanded_) ||
        (event->key() == Qt::Key_Left && expanded_)) {
        activate();
        event->accept();
        return;
    }
    WexControl::keyPressEvent(event);
}

}  // namespace wexcontrols
