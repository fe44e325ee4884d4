#include "conditions/view/condition_name_editor.h"

#include "controls/standard/wex_combo.h"
#include "controls/standard/wex_text.h"
#include "rules/rule_text.h"
#include "rules/view/editor_fields.h"

namespace vandrel {

using namespace wexcontrols;

ConditionNameEditor::ConditionNameEditor(ConditionName& model, QWidget* parent)
    : KindEditor(parent), model_(model) {
    auto* op = MakeCombo(this, QStringLiteral("cmbOP"), QStringLiteral("Name comparison"),
                         {QStringLiteral("is"), QStringLiteral("contains"),
                          QStringLiteral("starts with"), QStringLiteral("ends with")},
                         model.op);
    auto* text =
        MakeTextField(this, QStringLiteral("txtParams"), QStringLiteral("Name text"), model.text);
    PlaceField(op, 0, 0, 1500);
    PlaceField(text, 1550, 0, 2350);
    connect(op, &WexCombo::Click, this, [this, op] { model_.op = op->Text(); });
    connect(text, &WexText::textEdited, this,
            [this](const QString& t) { model_.text = StripSeparators(t); });
}

}  // namespace vandrel
