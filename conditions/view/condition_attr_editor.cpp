#include "conditions/view/condition_attr_editor.h"

#include "attributes/attribute_helper.h"
#include "controls/standard/wex_combo.h"
#include "controls/standard/wex_text.h"
#include "rules/view/editor_fields.h"

namespace vandrel {

using namespace wexcontrols;

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
    PlaceField(attr, 0, 0, 1350);
    PlaceField(op, 1400, 0, 1400);
    PlaceField(text, 2850, 0, 1050);
    connect(attr, &WexCombo::Click, this, [this, attr] { model_.setAttribute(attr->Text()); });
    connect(op, &WexCombo::Click, this, [this, op] { model_.setOperator(op->Text()); });
    connect(text, &WexText::textEdited, this, [this](const QString& t) { model_.setText(t); });
}

}  // namespace vandrel
