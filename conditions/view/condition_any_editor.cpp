#include "conditions/view/condition_any_editor.h"

#include <QLabel>

#include "rules/view/editor_fields.h"

namespace vandrel {

ConditionAnyEditor::ConditionAnyEditor(ConditionAny& model, QWidget* parent)
    : KindEditor(parent), model_(model) {
    auto* note = MakeCaption(this, QStringLiteral("every file and folder"));
    note->setEnabled(false);
    PlaceField(note, 60, 0, 3800);
    (void)model_;
}

}  // namespace vandrel
