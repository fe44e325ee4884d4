#include "conditions/view/condition_attr_editor.h"

#include <QComboBox>
#include <QLineEdit>

#include "attributes/attribute_helper.h"
#include "rules/view/editor_fields.h"

namespace vandrel {

namespace {
// The catalogue never changes while the program runs; ask it once.
const QStringList& attributeNames() {
    static const QStringList names = AttributeHelper().GetConditionAttrList();
    return names;
}
}  // namespace

ConditionAttrEditor::ConditionAttrEditor(ConditionAttr& model, QWidget* parent)
    : KindEditor(parent), model_(model) {
    auto* attr = MakeCombo(this, QStringLiteral("cmbAttr"), QStringLiteral("Attribute"),
                           attributeNames(), model.attribute());
    auto* op = MakeCombo(this, QStringLiteral("cmbOP"), QStringLiteral("Attribute comparison"),
                         {QStringLiteral("is"), QStringLiteral("contains"),
                          QStringLiteral("starts with"), QStringLiteral("ends with")},
                         model.op());
    auto* text = MakeTextField(this, QStringLiteral("txtInput"), QStringLiteral("Attribute text"),
                               model.text());
    PlaceField(attr, 0, 0, 1400);
    PlaceField(op, 1450, 0, 1150);
    PlaceField(text, 2650, 0, 1250);
    connect(attr, &QComboBox::currentTextChanged, this,
            [this](const QString& t) { model_.setAttribute(t); });
    connect(op, &QComboBox::currentTextChanged, this,
            [this](const QString& t) { model_.setOperator(t); });
    connect(text, &QLineEdit::textEdited, this, [this](const QString& t) { model_.setText(t); });
}

}  // namespace vandrel
