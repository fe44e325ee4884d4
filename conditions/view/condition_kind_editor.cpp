#include "conditions/view/condition_kind_editor.h"

#include "controls/standard/wex_combo.h"
#include "rules/view/editor_fields.h"

namespace vandrel {

ConditionKindEditor::ConditionKindEditor(ConditionKind& model, QWidget* parent)
    : KindEditor(parent), model_(model) {
    auto* kind = MakeCombo(this, QStringLiteral("cmbKind"), QStringLiteral("Kind of item"),
                           ConditionKind::kindEntries(), model.kind);
    PlaceField(kind, 0, 0, 2400);
    connect(kind, &wexcontrols::WexCombo::Click, this,
            [this, kind] { model_.kind = kind->Text(); });
}

}  // namespace vandrel
