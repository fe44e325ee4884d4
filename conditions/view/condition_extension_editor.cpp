#include "conditions/view/condition_extension_editor.h"

#include <QComboBox>
#include <QLineEdit>

#include "rules/rule_text.h"
#include "rules/view/editor_fields.h"

namespace vandrel {

ConditionExtensionEditor::ConditionExtensionEditor(ConditionExtension& model, QWidget* parent)
    : KindEditor(parent), model_(model) {
    auto* op = MakeCombo(this, QStringLiteral("cmbOP"), QStringLiteral("Extension comparison"),
                         {QStringLiteral("is"), QStringLiteral("is included in")}, model.op);
    auto* text = MakeTextField(this, QStringLiteral("txtParams"),
                               QStringLiteral("Extension or list of extensions"), model.text);
    PlaceField(op, 0, 0, 1500);
    PlaceField(text, 1550, 0, 2350);
    // Only the user's choice resets the text; a loaded rule keeps its own.
    connect(op, &QComboBox::activated, this, [this, op, text](int) {
        model_.setOperatorFromEditor(op->currentText());
        text->setText(model_.text);
    });
    connect(text, &QLineEdit::textEdited, this,
            [this](const QString& t) { model_.text = StripSeparators(t); });
}

}  // namespace vandrel
