#include "actions/view/action_rename_editor.h"

#include <QToolButton>

#include "actions/view/action_editor_parts.h"
#include "actions/view/pattern_input.h"
#include "rules/view/editor_fields.h"

namespace vandrel {

ActionRenameEditor::ActionRenameEditor(ActionRename& model, QWidget* parent)
    : KindEditor(parent), model_(model) {
    AddPatternWithInsert(this, model.pattern(), 0, 0, 2300, nullptr, 3250);
    PlaceField(makeOptionsToggle(), 3300, 0, 600);
    for (QWidget* w : AddConflictChoice(this, 400, model.renameValue(),
                                        [this](bool on) { model_.setRename(on); }))
        addOption(w);
}

}  // namespace vandrel
