#include "conditions/view/condition_extension_editor.h"

#include "controls/standard/wex_combo.h"
#include "controls/standard/wex_text.h"
#include "rules/rule_text.h"
#include "rules/view/editor_fields.h"

namespace vandrel {

using namespace wexcontrols;

ConditionExtensionEditor::ConditionExtensionEditor(ConditionExtension& model, QWidget* parent)
    : KindEditor(parent), model_(model) {
    auto* op = MakeCombo(this, QStringLiteral("cmbOP"), QStringLiteral("Extension comparison"),
                         {QStringLiteral("is"), QStringLiteral("is included in")}, model.op);
    auto* text = MakeTextField(this, QStringLiteral("txtParams"),
                               QStringLiteral("Extension or list of extensions"), model.text);
    PlaceField(op, 0, 0, 1750);
    PlaceField(text, 1800, 0, 2100);
    // Only the user's choice resets the text; a loaded rule keeps its own.
    connect(op, &WexCombo::Click, this, [this, op, text] {
        model_.setOperatorFromEditor(op->Text());
        text->setText(model_.text);
    });
    connect(text, &WexText::textEdited, this,
            [this](const QString& t) { model_.text = StripSeparators(t); });
}

}  // namespace vandrel
