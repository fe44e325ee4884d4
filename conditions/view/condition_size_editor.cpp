#include "conditions/view/condition_size_editor.h"

#include "controls/standard/wex_combo.h"
#include "controls/standard/wex_num_text.h"
#include "rules/view/editor_fields.h"

namespace vandrel {

using namespace wexcontrols;

ConditionSizeEditor::ConditionSizeEditor(ConditionSize& model, QWidget* parent)
    : KindEditor(parent), model_(model) {
    auto* op = MakeCombo(
        this, QStringLiteral("cmbCompare"), QStringLiteral("Size comparison"),
        {QStringLiteral("is"), QStringLiteral("is greater than"), QStringLiteral("is less than")},
        model.op);
    auto* number = MakeNumberField(this, QStringLiteral("txtNumber"), QStringLiteral("Size"), 1,
                                   1024, model.number);
    auto* unit = MakeCombo(
        this, QStringLiteral("cmbUnit"), QStringLiteral("Size unit"),
        {QStringLiteral("Byte"), QStringLiteral("KB"), QStringLiteral("MB"), QStringLiteral("GB")},
        model.unit);
    PlaceField(op, 0, 0, 1750);
    PlaceField(number, 1800, 0, 1000);
    PlaceField(unit, 2850, 0, 1050);
    connect(op, &WexCombo::Click, this, [this, op] { model_.op = op->Text(); });
    connect(number, &WexNumText::ValueChange, this, [this, number] {
        // An empty field is the user still typing; leaving it empty gives the minimum.
        if (!number->Text().isEmpty()) model_.number = number->Text();
    });
    connect(unit, &WexCombo::Click, this, [this, unit] { model_.unit = unit->Text(); });
}

}  // namespace vandrel
