#include "actions/view/action_add_to_editor.h"

#include "controls/standard/wex_file.h"
#include "rules/view/editor_fields.h"

namespace vandrel {

ActionAddToEditor::ActionAddToEditor(ActionAddTo& model, QWidget* parent)
    : KindEditor(parent), model_(model) {
    auto* file =
        MakeFileField(this, QStringLiteral("cmbListFile"), QStringLiteral("Select a List File"),
                      QStringLiteral("save"), model.listFile());
    PlaceField(file, 0, 0, 3900);
    connect(file, &wexcontrols::WexFile::Click, this,
            [this, file] { model_.setListFile(file->Text()); });
}

}  // namespace vandrel
