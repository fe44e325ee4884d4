#include "actions/view/action_relocate_editor.h"

#include "actions/view/action_editor_parts.h"
#include "actions/view/pattern_input.h"
#include "controls/standard/wex_check.h"
#include "controls/standard/wex_expand_btn.h"
#include "controls/standard/wex_folder.h"
#include "rules/view/editor_fields.h"

namespace vandrel {

ActionRelocateEditor::ActionRelocateEditor(ActionRelocate& model, QWidget* parent)
    : KindEditor(parent), model_(model) {
    auto* folder = MakeFolderField(this, QStringLiteral("cmbFolder"), model.folder());
    PlaceField(folder, 0, 0, 3000);
    PlaceField(makeOptionsToggle(), 3050, 0, 850);
    connect(folder, &wexcontrols::WexFolder::Click, this,
            [this, folder] { model_.setFolder(folder->Text()); });

    auto* sub = MakeCheck(this, QStringLiteral("chkSubfolder"),
                          QStringLiteral("Sort into subfolder"), model.sortIntoSubfolder());
    PlaceField(sub, 100, 400, 3800);
    connect(sub, &wexcontrols::WexCheck::Click, this,
            [this, sub] { model_.setSortIntoSubfolder(sub->Value() == 1); });
    addOption(sub);
    QWidget* insert = nullptr;
    addOption(AddPatternWithInsert(this, model.pattern(), 100, 750, 2700, &insert, 3900));
    addOption(insert);
    for (QWidget* w : AddConflictChoice(this, 1100, model.renameValue(),
                                        [this](bool on) { model_.setRename(on); }))
        addOption(w);
}

}  // namespace vandrel
