#include "conditions/view/condition_kind_editor.h"

#include <QComboBox>

#include "rules/view/editor_fields.h"

namespace vandrel {

ConditionKindEditor::ConditionKindEditor(ConditionKind& model, QWidget* parent)
    : KindEditor(parent), model_(model) {
    auto* kind = MakeCombo(this, QStringLiteral("cmbKind"), QStringLiteral("Kind of item"),
                           ConditionKind::kindEntries(), model.kind);
    PlaceField(kind, 0, 0, 2400);
    connect(kind, &QComboBox::currentTextChanged, this,
            [this](const QString& t) { model_.kind = t; });
}

}  // namespace vandrel
