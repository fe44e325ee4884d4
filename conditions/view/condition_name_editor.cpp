#include "conditions/view/condition_name_editor.h"

#include <QComboBox>
#include <QLineEdit>

#include "rules/rule_text.h"
#include "rules/view/editor_fields.h"

namespace vandrel {

ConditionNameEditor::ConditionNameEditor(ConditionName& model, QWidget* parent)
    : KindEditor(parent), model_(model) {
    auto* op = MakeCombo(this, QStringLiteral("cmbOP"), QStringLiteral("Name comparison"),
                         {QStringLiteral("is"), QStringLiteral("contains"),
                          QStringLiteral("starts with"), QStringLiteral("ends with")},
                         model.op);
    auto* text =
        MakeTextField(this, QStringLiteral("txtParams"), QStringLiteral("Name text"), model.text);
    PlaceField(op, 0, 0, 1300);
    PlaceField(text, 1350, 0, 2550);
    connect(op, &QComboBox::currentTextChanged, this, [this](const QString& t) { model_.op = t; });
    connect(text, &QLineEdit::textEdited, this,
            [this](const QString& t) { model_.text = StripSeparators(t); });
}

}  // namespace vandrel
