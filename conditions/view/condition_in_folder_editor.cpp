#include "conditions/view/condition_in_folder_editor.h"

#include "controls/standard/wex_folder.h"
#include "rules/rule_text.h"
#include "rules/view/editor_fields.h"

namespace vandrel {

ConditionInFolderEditor::ConditionInFolderEditor(ConditionInFolder& model, QWidget* parent)
    : KindEditor(parent), model_(model) {
    auto* folder = MakeFolderField(this, QStringLiteral("txtPath"), model.folder);
    PlaceField(folder, 0, 0, 3900);
    connect(folder, &wexcontrols::WexFolder::Click, this,
            [this, folder] { model_.folder = StripSeparators(folder->Text()); });
}

}  // namespace vandrel
