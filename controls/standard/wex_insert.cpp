#include "wex_insert.h"

namespace wexcontrols {

namespace {
const QString kDefaultText = QStringLiteral("Insert");
}

WexInsert::WexInsert(QWidget* parent)
    : WexDropList(images::Decoration::Insert, parent), text_(kDefaultText) {
    setCaptionText(text_);
}

void WexInsert::setText(const QString& text) {
    if (text == text_) return;
    text_ = text;
    setCaptionText(text);
    markChanged();
}

void WexInsert::ReadProperties(const QVariantMap& bag) {
    setText(ReadText(bag, QStringLiteral("Text"), kDefaultText));
    clearChanged();
}

QVariantMap WexInsert::WriteProperties() const { return {{QStringLiteral("Text"), text_}}; }

void WexInsert::itemChosen(const QString& item) { emit InsertText(item); }

}  // namespace wexcontrols
