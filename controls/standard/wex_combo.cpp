#include "wex_combo.h"

#include <QKeyEvent>

namespace wexcontrols {

WexCombo::WexCombo(QWidget* parent) : WexDropList(images::Decoration::DropDown, parent) {
    connect(this, &QObject::objectNameChanged, this, [this] {
        if (!textSet_) setCaptionText(objectName());
    });
    setAccessibleFallback(QStringLiteral("List"));
    setCaptionText(objectName());
}

QString WexCombo::Text() const { return textSet_ ? text_ : objectName(); }

void WexCombo::setText(const QString& text) {
    const bool same = textSet_ && text_ == text;
    text_ = text;
    textSet_ = true;
    setCaptionText(text);
    if (!same) markChanged();
}

void WexCombo::ReadProperties(const QVariantMap& bag) {
    setText(ReadText(bag, QStringLiteral("Text"), objectName()));
    clearChanged();
}

QVariantMap WexCombo::WriteProperties() const { return {{QStringLiteral("Text"), Text()}}; }

void WexCombo::itemChosen(const QString& item) {
    setText(item);
    emit Click();
}

void WexCombo::keyPressEvent(QKeyEvent* event) {
    const bool up = event->key() == Qt::Key_Up, down = event->key() == Qt::Key_Down;
    if ((!up && !down) || (event->modifiers() & Qt::AltModifier)) {
        WexDropList::keyPressEvent(event);
        return;
    }
    event->accept();
    const QStringList list = items();
    if (list.isEmpty()) return;
    const qsizetype at = textSet_ ? list.indexOf(text_) : -1;
    qsizetype next = at < 0 ? (down ? 0 : list.size() - 1) : at + (down ? 1 : -1);
    if (next < 0 || next >= list.size()) return;  // already at the first or last item
    itemChosen(list.at(next));
}

}  // namespace wexcontrols
