#include "actions/view/action_rename_editor.h"

#include "actions/view/action_editor_parts.h"
#include "actions/view/pattern_input.h"
#include "controls/standard/wex_expand_btn.h"
#include "rules/view/editor_fields.h"

namespace vandrel {

ActionRenameEditor::ActionRenameEditor(ActionRename& model, QWidget* parent)
    : KindEditor(parent), model_(model) {
    AddPatternWithInsert(this, model.pattern(), 0, 0, 2000, nullptr, 3000);
    PlaceField(makeOptionsToggle(), 3050, 0, 850);
    for (QWidget* w : AddConflictChoice(this, 400, model.renameValue(),
                                        [this](bool on) { model_.setRename(on); }))
        addOption(w);
}

}  // namespace vandrel
