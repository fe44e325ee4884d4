#include "wex_path_field.h"

#include <QPointer>

#include "wex_module.h"
#include "wex_strip.h"

namespace wexcontrols {

WexPathField::WexPathField(const QString& defaultCaption, images::Decoration decoration,
                           QWidget* parent)
    : WexControl(Look::Field, parent), defaultCaption_(defaultCaption), caption_(defaultCaption) {
    setDecoration(new WexStrip(1, 1, images::DecorationCell(decoration), this));
    setAccessibleName(defaultCaption);
    showPath();
}

void WexPathField::setCaption(const QString& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    showPath();
    markChanged();
}

void WexPathField::setText(const QString& text) {
    text_ = text;
    showPath();
}

void WexPathField::showPath() {
    setToolTip(text_);
    // A stale folder name after the path was cleared would tell the user something untrue.
    setCaptionText(text_.isEmpty() ? caption_ : LastPathComponent(text_));
    // The name for assistive technology says what the control does, whatever path it shows.
    setAccessibleDescription(text_);
}

void WexPathField::readCaption(const QVariantMap& bag) {
    setCaption(ReadText(bag, QStringLiteral("Caption"), defaultCaption_));
}

void WexPathField::activate() {
    // The dialogs are modal: a host may delete this control before they return.
    const QPointer<WexPathField> self(this);
    const QString chosen = choose();
    if (self.isNull() || chosen.isEmpty()) return;
    setText(chosen);
    emit Click();
}

}  // namespace wexcontrols
